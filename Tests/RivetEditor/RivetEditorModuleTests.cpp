#include "Core/Modules/ModularFeatures.h"
#include "Core/Modules/ModuleManager.h"
#include "RivetEditor/Private/RivetEditorCommands.h"
#include "RivetEditor/Private/RivetEditorModule.h"
#include "RivetEditorModuleName.h"
#include "Slate/Framework/Commands/InputBindingManager.h"
#include "Slate/Styling/ApplicationStyle.h"
#include "Support/CommandsChangedCounter.h"
#include "Support/ToolMessageExpectations.h"

#include <gtest/gtest.h>

namespace
{
const FName ModuleName(RivetEditorModuleName);
const FName FeatureName("SkeletalMeshModelingModeToolExtension");

struct FExpectedTool
{
    const char* Name;
    const char* NameKey;
    const char* Command;
    const char* Label;
    const char* ToolTip;
    const char* BuilderClass;
};

const FExpectedTool ExpectedTools[] = {
    {"Assign New Material Slot", "AssignSlotToolName", "BeginAssignMaterialSlotTool", "New Slot",
     "Assign a new material slot to the selected polygons", "RivetAssignMaterialSlotToolBuilder"},
    {"Bake Bone Transform", "BakeBoneToolName", "BeginBakeBoneTransformTool", "Bake Bone",
     "Bake the bone transform you changed in the Skeleton Tree into the asset",
     "RivetBakeBoneTransformToolBuilder"},
    {"Delete Polygons", "DeletePolygonsToolName", "BeginDeletePolygonsTool", "Delete Polys",
     "Delete the selected polygons from the asset", "RivetDeletePolygonsToolBuilder"},
    {"Detach Polygons", "DetachToolName", "BeginDetachTool", "Detach",
     "Move the selected polygons into a new skeletal mesh asset", "RivetDetachToolBuilder"},
    {"Remesh Polygons", "RemeshToolName", "BeginRemeshTool", "Remesh",
     "Rebuild the selected polygons as an even triangle mesh", "RivetRemeshToolBuilder"},
};

class RivetEditorModuleTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Module = static_cast<FRivetEditorModule*>(FModuleManager::Get().LoadModule(ModuleName));
    }
    void TearDown() override { FModuleManager::Get().UnloadModule(ModuleName); }

    TArray<FExtensionToolDescription> Query(bool bInfoOnly)
    {
        TArray<FExtensionToolDescription> Tools;
        Module->GetExtensionTools(FExtensionToolQueryInfo{bInfoOnly}, Tools);
        return Tools;
    }

    static TArray<UInteractiveToolBuilder*> BuildersOf(const TArray<FExtensionToolDescription>& Tools)
    {
        TArray<UInteractiveToolBuilder*> Builders;
        for (const FExtensionToolDescription& Tool : Tools)
        {
            Builders.Add(Tool.ToolBuilder);
        }
        return Builders;
    }

    FRivetEditorModule* Module = nullptr;
};
} // namespace

TEST_F(RivetEditorModuleTest, StartupRegistersTheCommandsAndTheNamedModeExtension)
{
    ASSERT_NE(Module, nullptr);
    EXPECT_TRUE(FRivetEditorCommands::IsRegistered());
    const TArray<ISkeletalMeshModelingModeToolExtension*> Extensions =
        IModularFeatures::Get().GetModularFeatureImplementations<ISkeletalMeshModelingModeToolExtension>(
            FeatureName);
    ASSERT_EQ(Extensions.Num(), 1);
    EXPECT_EQ(Extensions[0], static_cast<ISkeletalMeshModelingModeToolExtension*>(Module));

    // The extension's name and its section's.
    for (const auto& [Text, Key] : {std::pair{Module->GetExtensionName(), "ExtensionName"},
                                    std::pair{Module->GetToolSectionName(), "SectionName"}})
    {
        ExpectText(Text, "RivetEditorModule", Key, "Rivet Editor");
    }
}

TEST_F(RivetEditorModuleTest, ShutdownUnregistersTheExtensionAndTheCommands)
{
    FCommandsChangedCounter Changes;
    FModuleManager::Get().UnloadModule(ModuleName);

    EXPECT_FALSE(IModularFeatures::Get().IsModularFeatureAvailable(FeatureName));
    EXPECT_FALSE(FRivetEditorCommands::IsRegistered());
    EXPECT_EQ(FInputBindingManager::Get().GetContextByName(FName("RivetEditor")), nullptr);
    EXPECT_EQ(Changes.Count, 1);
}

TEST_F(RivetEditorModuleTest, TheCommandsOutliveTheExtensionOnBothEnds)
{
    TArray<FString> Events;
    const FModularFeatureListenerHandle Listener = IModularFeatures::Get().AddFeaturesChangedListener(
        [&Events](FName Type, IModularFeature*, bool bRegistered)
        {
            if (Type == FeatureName)
            {
                Events.Add(FString(bRegistered ? "registered" : "unregistered") +
                           (FRivetEditorCommands::IsRegistered() ? " with commands" : " without commands"));
            }
        });
    FModuleManager::Get().UnloadModule(ModuleName);
    Module = static_cast<FRivetEditorModule*>(FModuleManager::Get().LoadModule(ModuleName));
    IModularFeatures::Get().RemoveFeaturesChangedListener(Listener);

    const TArray<FString> Expected = {"unregistered with commands", "registered with commands"};
    EXPECT_EQ(Events, Expected);
}

TEST_F(RivetEditorModuleTest, TheCommandSetHasItsContextAndFiveCommandsInOrderAndRegistersOnce)
{
    const FRivetEditorCommands& Commands = FRivetEditorCommands::Get();
    EXPECT_EQ(Commands.GetContextName(), FName("RivetEditor"));
    ExpectText(Commands.GetContextDesc(), "RivetEditorCommands", "RivetEditorCommands", "Rivet Editor");
    EXPECT_EQ(Commands.GetContextParent(), NAME_None);
    EXPECT_EQ(Commands.GetStyleSetName(), FApplicationStyle::GetStyleSetName());

    const std::shared_ptr<FCommandInfo> Members[] = {
        Commands.BeginAssignMaterialSlotTool, Commands.BeginBakeBoneTransformTool,
        Commands.BeginDeletePolygonsTool, Commands.BeginDetachTool, Commands.BeginRemeshTool};
    const TArray<std::shared_ptr<FCommandInfo>> Known =
        FInputBindingManager::Get().GetCommandsInContext(FName("RivetEditor"));
    ASSERT_EQ(Known.Num(), 5);
    for (int32 Index = 0; Index < 5; ++Index)
    {
        const FExpectedTool& Expected = ExpectedTools[Index];
        const FCommandInfo& Command = *Members[Index];
        SCOPED_TRACE(Expected.Command);
        EXPECT_EQ(Known[Index], Members[Index]);
        EXPECT_EQ(Command.GetCommandName(), FName(Expected.Command));
        EXPECT_EQ(Command.DottedName, FString(".") + Expected.Command);
        ExpectText(Command.GetLabel(), "RivetEditorCommands", Expected.Command, Expected.Label);
        ExpectText(Command.GetDescription(), "RivetEditorCommands", FString(Expected.Command) + "_ToolTip",
                   Expected.ToolTip);
        EXPECT_EQ(static_cast<int32>(Command.ActionType), 2);
        EXPECT_FALSE(Command.DefaultChord.IsValidChord());
        EXPECT_FALSE(Command.AlternateChord.IsValidChord());
    }

    // Registering the commands again changes nothing.
    FCommandsChangedCounter Changes;
    FRivetEditorCommands::Register();
    EXPECT_EQ(&FRivetEditorCommands::Get(), &Commands);
    EXPECT_EQ(FInputBindingManager::Get().GetCommandsInContext(FName("RivetEditor")), Known);
    EXPECT_EQ(Changes.Count, 0);
}

TEST_F(RivetEditorModuleTest, AnInfoQueryListsTheFiveToolsInOrderAndAFullOneSharesTheirBuildersUntilARestart)
{
    TArray<FExtensionToolDescription> Tools;
    Tools.Add({FText::FromString("Someone else's tool")});
    Module->GetExtensionTools(FExtensionToolQueryInfo{true}, Tools);
    const TArray<FExtensionToolDescription> First = Query(false);

    ASSERT_EQ(Tools.Num(), 6);
    ASSERT_EQ(First.Num(), 5);
    EXPECT_EQ(Tools[0].ToolName.ToString(), "Someone else's tool");
    for (int32 Index = 0; Index < 5; ++Index)
    {
        const FExpectedTool& Expected = ExpectedTools[Index];
        const FExtensionToolDescription& Tool = Tools[Index + 1];
        SCOPED_TRACE(Expected.Name);
        ExpectText(Tool.ToolName, "RivetEditorModule", Expected.NameKey, Expected.Name);
        ASSERT_NE(Tool.ToolCommand, nullptr);
        EXPECT_EQ(Tool.ToolCommand->GetCommandName(), FName(Expected.Command));
        EXPECT_EQ(Tool.ToolBuilder, nullptr) << "an info query builds nothing";
        EXPECT_EQ(First[Index].ToolName.ToString(), Expected.Name);
        ASSERT_NE(First[Index].ToolBuilder, nullptr);
        EXPECT_EQ(First[Index].ToolBuilder->GetClass()->GetName(), FString(Expected.BuilderClass));
        EXPECT_EQ(First[Index].ToolBuilder->GetOuter(), GetTransientPackage());
    }
    EXPECT_EQ(BuildersOf(Query(false)), BuildersOf(First));

    // A restarted module makes new builders.
    FModuleManager::Get().UnloadModule(ModuleName);
    Module = static_cast<FRivetEditorModule*>(FModuleManager::Get().LoadModule(ModuleName));
    const TArray<UInteractiveToolBuilder*> After = BuildersOf(Query(false));
    for (int32 Index = 0; Index < 5; ++Index)
    {
        EXPECT_NE(After[Index], First[Index].ToolBuilder) << Index;
    }
}
