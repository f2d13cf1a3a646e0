#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Support/SkeletalAssetSnapshot.h"

class FHeadlessEditor;
class FTestFolder;
struct FSoakAsset;

/**
 * What the soak compares between steps: everything a tool may change on the asset and on the assets that
 * hang on it, and which skeletal meshes the asset registry lists (a detached part comes and goes with undo).
 */
struct FSoakState
{
    explicit FSoakState(const FSoakAsset& Asset);

    FSkeletalAssetSnapshot Asset;
    TArray<FString> SkeletalMeshes;

    bool operator==(const FSoakState&) const = default;
};

/** The parts in which two states differ ("LOD descriptions", "skeleton sockets", ...), for findings. */
FString DescribeDifferences(const FSoakState& Expected, const FSoakState& Actual);

/**
 * The asset and every skeletal mesh not in MeshesBefore are sound (each LOD description passes its
 * consistency check, every used LOD 0 polygon group and every render section draws with a slot that
 * exists, LOD 0's render sections draw its triangles), and so is the active selection tool's preview.
 */
void CheckSoundness(const FHeadlessEditor& Editor, const FSoakAsset& Asset,
                    const TArray<FString>& MeshesBefore, TArray<FString>& OutFindings);

/**
 * Saves the asset with its animations as glTF in the folder and reads the file back: what the file holds
 * reads back equal, and writing the read asset again gives the same bytes.
 */
void CheckFileRoundTrip(const FSoakAsset& Asset, const FTestFolder& Folder, TArray<FString>& OutFindings);
