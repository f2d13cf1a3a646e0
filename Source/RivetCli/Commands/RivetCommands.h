#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "RivetCli/Session/SaveOptions.h"

class FRivetConsole;

/** What `rivet run` was asked to do. */
struct FRunArguments
{
    TArray<FString> Files;
    FString Tool;
    TArray<FString> Selections;
    /** Bones selected in the Skeleton Tree, and bones edited by hand there. */
    TArray<FString> Bones;
    TArray<FString> BoneEdits;
    TArray<FString> Assignments;
    TArray<FString> Buttons;
    bool bAccept = false;
    bool bCancel = false;
    bool bUndo = false;
    FSaveOptions Save;
    /** Where to draw the before and after pictures; empty for none. */
    FString SnapshotFolder;
};

/** What `rivet render` was asked to draw. */
struct FRenderArguments
{
    FString File;
    FString Out;
    int32 LOD = 0;
    FString View = "three-quarter";
    FString Size = "800x800";
    bool bPerspective = false;
    bool bWireframe = false;
    FString ColorBy = "slot";
    TArray<FString> Selections;
    TArray<FString> BoneEdits;
};

/** Each command returns the exit status (ERivetExitCode). */
int RunInfoCommand(FRivetConsole& Console, const TArray<FString>& Files, bool bListTriangles = false);
int RunToolsCommand(FRivetConsole& Console);
int RunRunCommand(FRivetConsole& Console, const FRunArguments& Arguments);
int RunScriptCommand(FRivetConsole& Console, const FString& ScriptPath, const FSaveOptions& Save,
                     const FString& SnapshotFolder = FString());
int RunRenderCommand(FRivetConsole& Console, const FRenderArguments& Arguments);
int RunDemoCommand(FRivetConsole& Console, const FString& OutputFolder);
