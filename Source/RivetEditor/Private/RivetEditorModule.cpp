#include "RivetEditor/Private/RivetEditorModule.h"

#include "Core/Modules/ModularFeatures.h"
#include "Core/Modules/ModuleRegistrar.h"
#include "Core/Text/LocText.h"
#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Reflection/Class.h"
#include "RivetEditor/Private/RivetEditorCommands.h"
#include "RivetEditor/Private/Tools/RivetAssignMaterialSlotTool.h"
#include "RivetEditor/Private/Tools/RivetBakeBoneTransformTool.h"
#include "RivetEditor/Private/Tools/RivetDeletePolygonsTool.h"
#include "RivetEditor/Private/Tools/RivetDetachTool.h"
#include "RivetEditor/Private/Tools/RivetRemeshTool.h"

#define VT_LOCTEXT_NAMESPACE "RivetEditorModule"

void FRivetEditorModule::StartupModule()
{
    FRivetEditorCommands::Register();
    IModularFeatures::Get().RegisterModularFeature(GetModularFeatureName(), this);
}

void FRivetEditorModule::ShutdownModule()
{
    IModularFeatures::Get().UnregisterModularFeature(GetModularFeatureName(), this);
    AssignMaterialSlotToolBuilder.Reset();
    BakeBoneTransformToolBuilder.Reset();
    DeletePolygonsToolBuilder.Reset();
    DetachToolBuilder.Reset();
    RemeshToolBuilder.Reset();
    FRivetEditorCommands::Unregister();
}

FText FRivetEditorModule::GetExtensionName()
{
    return VT_LOCTEXT("ExtensionName", "Rivet Editor");
}

FText FRivetEditorModule::GetToolSectionName()
{
    return VT_LOCTEXT("SectionName", "Rivet Editor");
}

void FRivetEditorModule::GetExtensionTools(const FExtensionToolQueryInfo& QueryInfo,
                                           TArray<FExtensionToolDescription>& ToolsOut)
{
    const FRivetEditorCommands& Commands = FRivetEditorCommands::Get();
    const auto AddTool = [&](FText Name, const std::shared_ptr<FCommandInfo>& Command,
                             TStrongObjectPtr<UInteractiveToolBuilder>& Builder, UClass* ClassOfBuilder)
    {
        FExtensionToolDescription& Tool = ToolsOut.Emplace_GetRef();
        Tool.ToolName = std::move(Name);
        Tool.ToolCommand = Command;
        if (!QueryInfo.bIsInfoQueryOnly)
        {
            Tool.ToolBuilder = FindOrCreateBuilder(Builder, ClassOfBuilder);
        }
    };
    AddTool(VT_LOCTEXT("AssignSlotToolName", "Assign New Material Slot"),
            Commands.BeginAssignMaterialSlotTool, AssignMaterialSlotToolBuilder,
            URivetAssignMaterialSlotToolBuilder::StaticClass());
    AddTool(VT_LOCTEXT("BakeBoneToolName", "Bake Bone Transform"), Commands.BeginBakeBoneTransformTool,
            BakeBoneTransformToolBuilder, URivetBakeBoneTransformToolBuilder::StaticClass());
    AddTool(VT_LOCTEXT("DeletePolygonsToolName", "Delete Polygons"), Commands.BeginDeletePolygonsTool,
            DeletePolygonsToolBuilder, URivetDeletePolygonsToolBuilder::StaticClass());
    AddTool(VT_LOCTEXT("DetachToolName", "Detach Polygons"), Commands.BeginDetachTool, DetachToolBuilder,
            URivetDetachToolBuilder::StaticClass());
    AddTool(VT_LOCTEXT("RemeshToolName", "Remesh Polygons"), Commands.BeginRemeshTool, RemeshToolBuilder,
            URivetRemeshToolBuilder::StaticClass());
}

UInteractiveToolBuilder*
FRivetEditorModule::FindOrCreateBuilder(TStrongObjectPtr<UInteractiveToolBuilder>& Builder,
                                        UClass* ClassOfBuilder)
{
    if (!Builder.Get() && ClassOfBuilder && !ClassOfBuilder->IsAbstract())
    {
        Builder.Reset(NewObject<UInteractiveToolBuilder>(GetTransientPackage(), ClassOfBuilder));
    }
    return Builder.Get();
}

#undef VT_LOCTEXT_NAMESPACE

VT_IMPLEMENT_MODULE(FRivetEditorModule, RivetEditor);
