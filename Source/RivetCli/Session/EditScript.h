#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "RivetCli/Session/EditStep.h"

/**
 * Reads the steps of an edit script: one step a line, a keyword and its arguments; blank lines and
 * lines starting with # are skipped.
 *
 *     open FILE...          the asset to edit, then files it uses (animations); relative to the script
 *     tool NAME             start a tool of the modeling mode
 *     select TERM...        paint selection terms onto the tool's preview
 *     set NAME = VALUE      set a panel property (display names may hold spaces)
 *     press BUTTON          press a panel button and let the tool act
 *     tick [FRAMES]         run editor frames
 *     accept | cancel       end the tool
 *     undo | redo           step through the editor's history
 *
 * File names holding spaces are written in double quotes. False with "<script>:<line>: <why>" on the
 * first line that is not a step.
 */
bool ParseEditScript(const FString& Text, const FString& ScriptPath, TArray<FEditStep>& OutSteps,
                     FString& OutError);
