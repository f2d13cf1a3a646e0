#pragma once

#include "Core/Containers/Array.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "RivetCli/Session/EditStep.h"
#include "RivetCli/Session/OpenedFile.h"
#include "RivetCli/Session/SaveOptions.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "RivetEditorModuleName.h"

class FRivetConsole;
struct FInterchangeResult;
class UAnimSequence;
class UPackage;

/**
 * One run of the editor without windows, driven step by step as a user would drive it: open files,
 * start a tool of the modeling mode, paint a selection on its preview, set panel properties, press
 * buttons, tick, accept or cancel, undo and redo; then save every package the session changed. Tool
 * messages and, with --verbose, the module's log lines are printed as they come.
 *
 * A step that cannot be carried out (a bad name, value or file) stops the session: Run returns false
 * after printing why. A tool that refuses (a warning or error message in answer to a step) does not stop
 * it, but is remembered for the exit status; warnings a tool gives as it starts, or after the result of a
 * step, are not refusals. When the session ends, the packages it read and made are freed.
 */
class FEditSession
{
public:
    FEditSession(FRivetConsole& Console, const FSaveOptions& SaveOptions);
    ~FEditSession();

    bool Run(const FEditStep& Step);
    /** Runs the steps in order up to the first that fails. */
    bool RunAll(const TArray<FEditStep>& Steps);

    /**
     * Closes the editor's tool as closing the editor does (cancelled, nothing written that was not
     * accepted), then writes every package of the session that changed. False when a write failed.
     */
    bool SaveChanged();

    bool HasToolRefused() const { return bToolRefused; }
    /** The files written by SaveChanged. */
    const TArray<FString>& GetSavedFiles() const { return SavedFiles; }

    FHeadlessEditor& GetEditor() { return Editor; }
    /** The animations opened with the asset or as further files. */
    const TArray<UAnimSequence*>& GetAnimations() const { return Animations; }

private:
    bool Open(const TArray<FString>& Paths);
    bool OpenAsset(const FString& Path);
    bool OpenAnimations(const FString& Path);
    void AddOpenedFile(const FString& Path, const FInterchangeResult& Result);
    bool StartTool(const FString& Name);
    bool Select(const TArray<FString>& Terms);
    bool SelectBone(const FString& Name);
    bool EditBone(const FString& Text);
    bool Set(const FString& Assignment);
    bool Press(const FString& Button);
    bool Tick(const TArray<FString>& Arguments);
    bool EndTool(EToolShutdownType ShutdownType);
    /** Step is Undo or Redo. */
    bool UndoOrRedo(EEditStepKind Step);

    /**
     * Ticks until the tool has acted on what was asked of it, or has ended: a selection tool until its
     * action ran, any other tool for as many frames as it has kinds of requests (one runs per frame).
     */
    void Settle();
    /**
     * Prints the tool messages and log lines that arrived since the last call. With bMayRefuse, a warning
     * or error among them counts as a refusal for the exit status.
     */
    void ReportNewOutput(bool bMayRefuse = true);
    bool RequireAsset(const char* Action);
    bool RequireTool(const char* Action);
    void CloseTool();

    /**
     * The session's packages that need a save: those it made, and opened files whose package would now be
     * written differently from how it was read. None when every change was undone or every tool refused.
     */
    TArray<UPackage*> FindChangedPackages() const;
    /** True for an opened file's package that would be written as it was when it was read. */
    bool IsAsOpened(UPackage& Package) const;

    FRivetConsole& Console;
    FSaveOptions SaveOptions;
    /** The session's packages (what it read and made), freed after the editor is gone. */
    FScopedPackageRelease SessionPackages;
    FHeadlessEditor Editor{{RivetEditorModuleName}};
    TArray<FOpenedFile> OpenedFiles;
    TArray<UAnimSequence*> Animations;
    TArray<FString> SavedFiles;
    int32 MessagesReported = 0;
    int32 LogLinesSeen = 0;
    bool bToolRefused = false;
};
