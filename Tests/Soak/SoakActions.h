#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

#include <random>

class FHeadlessEditor;
class UAnimSequence;
class USkeletalMesh;

/** An asset the soak edits: the skeletal mesh and the animations of its skeleton. */
struct FSoakAsset
{
    USkeletalMesh* Mesh = nullptr;
    TArray<UAnimSequence*> Animations;
};

/** What the soak's actions work with: the editor with the asset open, and the run's random numbers. */
struct FSoakContext
{
    FHeadlessEditor& Editor;
    FSoakAsset Asset;
    std::mt19937 Random;
    /** The most LOD 0 triangles a remesh may leave; a user about to remesh past it raises Density first. */
    int32 MaxTriangles = 0;

    /** A number from 0 to Count - 1. */
    int32 Pick(int32 Count) { return std::uniform_int_distribution<int32>(0, Count - 1)(Random); }
    double Uniform(double Min, double Max)
    {
        return std::uniform_real_distribution<double>(Min, Max)(Random);
    }
    bool Chance(double Probability) { return Uniform(0.0, 1.0) < Probability; }
};

/**
 * One step a user took, written as in a rivet script ("select island:12", "press Delete Selected
 * Polygons"). The soak takes undo and redo steps itself, one at a time, checking each.
 */
struct FSoakStep
{
    FString Text;
    int32 Undos = 0;
    int32 Redos = 0;
};

/**
 * Takes one random user action (start a tool, paint a selection, set a panel value, press a button,
 * accept, cancel, tick, pick or edit a bone, undo, redo), each as likely as its weight among the actions
 * that can be taken now.
 */
FSoakStep TakeRandomAction(FSoakContext& Context);
