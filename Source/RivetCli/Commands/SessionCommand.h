#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
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
};

/** Runs the steps in one edit session and saves what changed; the summary gets the edited asset. */
FEditSessionOutcome RunEditSession(FRivetConsole& Console, const TArray<FEditStep>& Steps,
                                   const FSaveOptions& Save);

/** The exit status of a session that ran (bStepsDone) and saved (bSaved). */
int GetSessionExitCode(const FEditSession& Session, bool bStepsDone, bool bSaved);
