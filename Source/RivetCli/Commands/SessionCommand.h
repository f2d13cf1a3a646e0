#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "RivetCli/Render/MeshPicture.h"
#include "RivetCli/Session/EditStep.h"
#include "RivetCli/Session/SaveOptions.h"

class FEditSession;
class FRivetConsole;

/** What an edit session came to. */
struct FEditSessionOutcome
{
    /**
     * Bad input when a step could not be carried out (nothing is saved then), tool refused when a tool
     * said no, success otherwise.
     */
    int ExitCode = 0;
    TArray<FString> SavedFiles;
    /** The pictures drawn around the edits (before, after), when asked for. */
    TArray<FString> SnapshotFiles;
    /** The tool messages of the session, each as "level: text". */
    TArray<FString> ToolMessages;
};

/** Pictures to draw around a session's edits, into Folder, with the asset's name in their captions. */
struct FSnapshotRequest
{
    FString Folder;
    FPictureOptions Options;
};

/**
 * Runs the steps in one edit session and saves what changed; the summary gets the edited asset. With a
 * snapshot request, the editor is drawn just before the first step that can change the asset (press,
 * tick, accept, cancel, undo, redo) with the painted selection, and again once the session has saved.
 */
FEditSessionOutcome RunEditSession(FRivetConsole& Console, const TArray<FEditStep>& Steps,
                                   const FSaveOptions& Save, const FSnapshotRequest* Snapshot = nullptr);

/** The exit status of a session that ran (bStepsDone) and saved (bSaved). */
int GetSessionExitCode(const FEditSession& Session, bool bStepsDone, bool bSaved);
