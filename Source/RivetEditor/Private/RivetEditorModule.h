#pragma once

#include "Core/Modules/ModuleInterface.h"
#include "CoreUObject/Object/StrongObjectPtr.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolBuilder.h"
#include "SkeletalMeshModelingMode/SkeletalMeshModelingModeToolExtension.h"

/**
 * The module: registers its commands and adds its section of five tools to the skeletal mesh
 * modeling mode. The tool builders are made on the first full query of the tool list and kept
 * until shutdown.
 */
class FRivetEditorModule : public IModuleInterface, public ISkeletalMeshModelingModeToolExtension
{
public:
    void StartupModule() override;
    void ShutdownModule() override;

    FText GetExtensionName() override;
    FText GetToolSectionName() override;
    void GetExtensionTools(const FExtensionToolQueryInfo& QueryInfo,
                           TArray<FExtensionToolDescription>& ToolsOut) override;

private:
    /**
     * Makes the builder of ClassOfBuilder in the transient package unless Builder holds one already.
     * A class that cannot be made (none yet, or abstract) leaves the reference empty.
     */
    static UInteractiveToolBuilder* FindOrCreateBuilder(TStrongObjectPtr<UInteractiveToolBuilder>& Builder,
                                                        UClass* ClassOfBuilder);

    TStrongObjectPtr<UInteractiveToolBuilder> AssignMaterialSlotToolBuilder;
    TStrongObjectPtr<UInteractiveToolBuilder> BakeBoneTransformToolBuilder;
    TStrongObjectPtr<UInteractiveToolBuilder> DeletePolygonsToolBuilder;
    TStrongObjectPtr<UInteractiveToolBuilder> DetachToolBuilder;
    TStrongObjectPtr<UInteractiveToolBuilder> RemeshToolBuilder;
};
