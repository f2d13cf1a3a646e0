#include "RecordingSelectionTool.h"

#include "Core/Modules/ModularFeatures.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "SkeletalMeshModelingMode/SkeletalMeshModelingMode.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

namespace
{
/** An extension with two tools: a selection tool and one whose builder is missing. */
class FSampleExtension : public ISkeletalMeshModelingModeToolExtension
{
public:
    FText GetExtensionName() override { return FText::FromString("Sample Extension"); }
    FText GetToolSectionName() override { return FText::FromString("Sample Section"); }
    void GetExtensionTools(const FExtensionToolQueryInfo& QueryInfo,
                           TArray<FExtensionToolDescription>& ToolsOut) override
    {
        ++Queries;
        if (!Builder.Get() && !QueryInfo.bIsInfoQueryOnly)
        {
            Builder.Reset(NewObject<URecordingSelectionToolBuilder>(GetTransientPackage()));
        }
        ToolsOut.Add({FText::FromString("Select Things"), SelectCommand,
                      QueryInfo.bIsInfoQueryOnly ? nullptr : Builder.Get()});
        ToolsOut.Add({FText::FromString("Not Built Yet"), nullptr, nullptr});
    }

    int32 Queries = 0;
    std::shared_ptr<FCommandInfo> SelectCommand =
        std::make_shared<FCommandInfo>(FCommandInfo{FName("BeginSelect")});
    TStrongObjectPtr<UInteractiveToolBuilder> Builder;
};

class SkeletalMeshModelingModeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        IModularFeatures::Get().RegisterModularFeature(
            ISkeletalMeshModelingModeToolExtension::GetModularFeatureName(), &Extension);
        Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Tools/ModeMesh"}).Mesh;
        World = NewObject<UWorld>(GetTransientPackage());
        Manager = NewObject<UInteractiveToolManager>(GetTransientPackage());
        Mode = std::make_unique<FSkeletalMeshModelingMode>(World, Manager);
    }
    void TearDown() override
    {
        Mode.reset();
        IModularFeatures::Get().UnregisterModularFeature(
            ISkeletalMeshModelingModeToolExtension::GetModularFeatureName(), &Extension);
        FTransactionBuffer::Get().Reset();
    }

    FSampleExtension Extension;
    USkeletalMesh* Mesh = nullptr;
    UWorld* World = nullptr;
    UInteractiveToolManager* Manager = nullptr;
    std::unique_ptr<FSkeletalMeshModelingMode> Mode;
};
} // namespace

// Entering the mode, starting a tool by name, closing the mode with a tool active and an extension that
// goes away are the headless editor's tests, with the module's tools.

TEST_F(SkeletalMeshModelingModeTest, AnInfoQueryListsToolsWithoutBuildingAnything)
{
    const TArray<FModelingModeToolSection> Sections = FSkeletalMeshModelingMode::QueryToolSections(true);

    ASSERT_EQ(Sections.Num(), 1);
    EXPECT_EQ(Sections[0].ExtensionName.ToString(), "Sample Extension");
    EXPECT_EQ(Sections[0].SectionName.ToString(), "Sample Section");
    ASSERT_EQ(Sections[0].Tools.Num(), 2);
    EXPECT_EQ(Sections[0].Tools[0].ToolName.ToString(), "Select Things");
    EXPECT_EQ(Sections[0].Tools[0].ToolBuilder, nullptr);
    EXPECT_EQ(Extension.Builder.Get(), nullptr);
}

TEST_F(SkeletalMeshModelingModeTest, ToolsStartByExactNameOrCommandOnceTheModeIsOpenAndTheyHaveABuilder)
{
    EXPECT_EQ(Mode->StartToolByName("Select Things"), nullptr) << "the mode is not open";
    Mode->Enter(Mesh);
    EXPECT_EQ(Mode->GetToolSections()[0].Tools[0].ToolBuilder, Extension.Builder.Get());

    auto* ByCommand = Cast<URecordingSelectionTool>(Mode->StartToolByCommand(FName("BeginSelect")));
    ASSERT_NE(ByCommand, nullptr);
    EXPECT_EQ(ByCommand->GetWorld(), World);
    EXPECT_EQ(Manager->GetActiveTool(), ByCommand);
    EXPECT_EQ(ByCommand->GetPreviewMesh()->GetMesh()->TriangleCount(),
              Mesh->GetMeshDescription(0)->Triangles().Num());
    Manager->EndTool(EToolShutdownType::Cancel);

    EXPECT_EQ(Mode->StartToolByName("Not Built Yet"), nullptr);
    EXPECT_EQ(Mode->StartToolByName("select things"), nullptr);
    EXPECT_EQ(Mode->StartToolByCommand(FName("BeginNothing")), nullptr);
    EXPECT_FALSE(Manager->HasActiveTool());
}
