#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Modules/ModularFeatures.h"
#include "CoreUObject/Object/StrongObjectPtr.h"
#include "InteractiveToolsFramework/Tools/ToolShutdownType.h"
#include "SkeletalMeshModelingMode/SkeletalMeshModelingModeToolExtension.h"

class UInteractiveTool;
class UInteractiveToolManager;
class USkeletalMesh;
class UToolTarget;
class UWorld;

/** A section of the mode's tool palette: one extension's tools. */
struct FModelingModeToolSection
{
    FText ExtensionName;
    FText SectionName;
    TArray<FExtensionToolDescription> Tools;
};

/**
 * The skeletal mesh editor's modeling mode. Entered on the open asset, it gathers the tool
 * sections of every registered tool extension and starts their tools, through their builders,
 * on that asset with the editor's tool manager and preview world. The sections are gathered
 * again whenever an extension comes or goes, so a builder of a module that shut down is never used.
 */
class FSkeletalMeshModelingMode
{
public:
    FSkeletalMeshModelingMode(UWorld* PreviewWorld, UInteractiveToolManager* ToolManager);
    ~FSkeletalMeshModelingMode();

    FSkeletalMeshModelingMode(const FSkeletalMeshModelingMode&) = delete;
    FSkeletalMeshModelingMode& operator=(const FSkeletalMeshModelingMode&) = delete;

    /** Opens the mode on the asset (leaving it first if it is open) and gathers the tool sections. */
    void Enter(USkeletalMesh* Mesh);
    /**
     * Ends the active tool and closes the mode. Closing the editor cancels the tool, so nothing is
     * written that the user did not accept; leaving the mode on purpose may accept it instead.
     */
    void Exit(EToolShutdownType ToolShutdownType = EToolShutdownType::Cancel);
    bool IsActive() const { return Target.Get() != nullptr; }

    /** Asks every registered extension, in registration order, for its section and tools. */
    static TArray<FModelingModeToolSection> QueryToolSections(bool bInfoOnly);
    /** The sections gathered (with a full query) when the mode was entered. */
    const TArray<FModelingModeToolSection>& GetToolSections() const { return Sections; }

    /** Starts the tool shown under this name; null when there is none or it cannot start here. */
    UInteractiveTool* StartToolByName(const FString& DisplayName);
    /** Starts the tool of this command (its name, e.g. "BeginDeletePolygonsTool"); null as above. */
    UInteractiveTool* StartToolByCommand(FName CommandName);

    USkeletalMesh* GetSkeletalMesh() const;
    UInteractiveToolManager* GetToolManager() const { return ToolManager.Get(); }

private:
    template <typename PredicateType>
    UInteractiveTool* StartFirstTool(PredicateType Matches);
    UInteractiveTool* StartTool(const FExtensionToolDescription& Tool);

    void OnFeaturesChanged(FName Type);

    UWorld* PreviewWorld;
    FModularFeatureListenerHandle FeaturesListener;
    TStrongObjectPtr<UInteractiveToolManager> ToolManager;
    TStrongObjectPtr<UToolTarget> Target;
    TArray<FModelingModeToolSection> Sections;
};
