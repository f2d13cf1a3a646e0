#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

/** What a user does in the editor, one step at a time. */
enum class EEditStepKind : uint8
{
    /** Open files: the asset to edit, then assets it uses (animations). */
    Open,
    /** Start a tool of the modeling mode by name. */
    Tool,
    /** Paint selection terms onto the tool's preview. */
    Select,
    /** Select a bone in the Skeleton Tree by name. */
    Bone,
    /** Edit a bone by hand as the Skeleton Tree does: "NAME:location=X,Y,Z:rotation=P,Y,R:scale=S". */
    BoneEdit,
    /** Set a panel property: "Name=Value". */
    Set,
    /** Press a panel button, then let the tool act on it. */
    Press,
    /** Run editor frames. */
    Tick,
    Accept,
    Cancel,
    Undo,
    Redo,
};

struct FEditStep
{
    EEditStepKind Kind = EEditStepKind::Tick;
    TArray<FString> Arguments;
    /** Where the step came from, for messages ("edit.rivet:4"); empty for the command line. */
    FString Origin;
};
