#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Logging/ScopedLogCapture.h"
#include "Core/Name/Name.h"
#include "CoreUObject/Object/StrongObjectPtr.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolManager.h"
#include "SkeletalMeshModelingMode/SkeletalMeshModelingMode.h"

#include <memory>

class FProperty;
class UDebugSkelMeshComponent;
class UInteractiveToolPropertySet;
class UMeshSelectionTool;
class USkeletalMesh;
class UWorld;

/**
 * The editor without windows: what the skeletal mesh editor sets up around an open asset, for
 * command-line use and tests. It loads the editor's services and the plug-in modules it is given,
 * makes the preview world (the asset on an actor's debug skeletal mesh component, and a floor),
 * opens the modeling mode with its tool manager, and captures the log. A user's steps map onto
 * calls: start a tool by name, paint triangles on the preview, set a panel property, press a
 * button, tick, read the messages, accept, undo.
 *
 * One editor at a time: it starts with an empty undo history and unloads its plug-ins when it goes.
 */
class FHeadlessEditor
{
public:
    /** Loads the editor's services, then each plug-in module in order. */
    explicit FHeadlessEditor(const TArray<FName>& PluginModules);
    ~FHeadlessEditor();

    FHeadlessEditor(const FHeadlessEditor&) = delete;
    FHeadlessEditor& operator=(const FHeadlessEditor&) = delete;

    /**
     * Shows the asset in the preview, posed by a preview instance without bone edits and with no bone
     * selected, and enters the modeling mode on it.
     */
    void OpenAsset(USkeletalMesh* Mesh);
    USkeletalMesh* GetAsset() const;

    FSkeletalMeshModelingMode& GetMode() { return *Mode; }
    UInteractiveToolManager* GetToolManager() const { return ToolManager.Get(); }
    UWorld* GetPreviewWorld() const { return PreviewWorld.Get(); }
    UDebugSkelMeshComponent* GetPreviewComponent() const { return PreviewComponent; }

    /** Starts the tool shown under this name in the mode; null when there is none. */
    UInteractiveTool* StartTool(const FString& DisplayName);
    UInteractiveTool* GetActiveTool() const { return ToolManager->GetActiveTool(); }
    /** The active tool as a selection tool, or null. */
    UMeshSelectionTool* GetSelectionTool() const;

    /** Adds triangles of the active selection tool's preview mesh to its selection; false without one. */
    bool SelectPreviewTriangles(const TArray<int32>& TriangleIDs);

    /** Sets a property of the active tool's panels by name or display name, as the details panel does. */
    bool SetProperty(const FString& Name, const FString& Value, FString& OutError);
    /** The text of a property of the active tool's panels, found as SetProperty finds it; empty when none. */
    FString GetPropertyText(const FString& Name) const;
    /** Presses a button of the active tool's panels by function name or display name. */
    bool PressButton(const FString& Name, FString& OutError);

    /**
     * Runs editor frames: the active tool ticks, then any shutdown it asked for is carried out, then the
     * preview evaluates its pose (bone edits made since the last frame show).
     */
    void Tick(int32 Frames = 1);
    /** Ends the active tool as the panel's Accept and Cancel buttons do. */
    void AcceptTool();
    void CancelTool();

    const TArray<FToolMessage>& GetMessages() const { return ToolManager->GetMessageHistory(); }
    /** The text of the latest tool message, or empty. */
    FString GetLastMessage() const;
    FScopedLogCapture& GetLog() { return *Log; }

    bool Undo();
    bool Redo();

private:
    void CreatePreviewWorld();
    /** The first panel of the active tool with a property of that name, and the property; null when none. */
    UInteractiveToolPropertySet* FindToolProperty(const FString& Name, const FProperty*& OutProperty) const;

    TArray<FName> PluginModules;
    std::unique_ptr<FScopedLogCapture> Log;
    TStrongObjectPtr<UWorld> PreviewWorld;
    UDebugSkelMeshComponent* PreviewComponent = nullptr;
    TStrongObjectPtr<UInteractiveToolManager> ToolManager;
    std::unique_ptr<FSkeletalMeshModelingMode> Mode;
};
