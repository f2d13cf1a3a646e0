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

    /** Opens the mode, starts the selection tool and deletes a triangle of its preview (not yet accepted). */
    void DeleteATriangleOnThePreview()
    {
        Mode->Enter(Mesh);
        auto* Tool = Cast<URecordingSelectionTool>(Mode->StartToolByName("Select Things"));
        Tool->GetSelection()->AddIndices(EMeshSelectionElementType::Face, {0});
        Tool->RequestAction(EMeshSelectionToolActions::Delete);
        Manager->Tick(0.1f);
    }

    FSampleExtension Extension;
    USkeletalMesh* Mesh = nullptr;
    UWorld* World = nullptr;
    UInteractiveToolManager* Manager = nullptr;
    std::unique_ptr<FSkeletalMeshModelingMode> Mode;
};
} // namespace

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

TEST_F(SkeletalMeshModelingModeTest, EnteringGathersTheSectionsWithTheirBuilders)
{
    Mode->Enter(Mesh);

    EXPECT_TRUE(Mode->IsActive());
    EXPECT_EQ(Mode->GetSkeletalMesh(), Mesh);
    ASSERT_EQ(Mode->GetToolSections().Num(), 1);
    EXPECT_EQ(Mode->GetToolSections()[0].Tools[0].ToolBuilder, Extension.Builder.Get());
    EXPECT_NE(Extension.Builder.Get(), nullptr);
}

TEST_F(SkeletalMeshModelingModeTest, ToolsStartByNameOrCommandOnTheOpenAsset)
{
    Mode->Enter(Mesh);

    auto* ByName = Cast<URecordingSelectionTool>(Mode->StartToolByName("Select Things"));
    ASSERT_NE(ByName, nullptr);
    EXPECT_EQ(ByName->GetWorld(), World);
    EXPECT_EQ(Manager->GetActiveTool(), ByName);
    EXPECT_EQ(ByName->GetPreviewMesh()->GetMesh()->TriangleCount(),
              Mesh->GetMeshDescription(0)->Triangles().Num());

    UInteractiveTool* ByCommand = Mode->StartToolByCommand(FName("BeginSelect"));
    ASSERT_NE(ByCommand, nullptr);
    EXPECT_NE(ByCommand, ByName);
}

TEST_F(SkeletalMeshModelingModeTest, UnknownOrUnbuildableToolsDoNotStart)
{
    EXPECT_EQ(Mode->StartToolByName("Select Things"), nullptr);

    Mode->Enter(Mesh);
    EXPECT_EQ(Mode->StartToolByName("Not Built Yet"), nullptr);
    EXPECT_EQ(Mode->StartToolByName("select things"), nullptr);
    EXPECT_EQ(Mode->StartToolByCommand(FName("BeginNothing")), nullptr);
    EXPECT_FALSE(Manager->HasActiveTool());
}

TEST_F(SkeletalMeshModelingModeTest, AnExtensionThatGoesAwayLeavesTheOpenMode)
{
    Mode->Enter(Mesh);
    IModularFeatures::Get().UnregisterModularFeature(
        ISkeletalMeshModelingModeToolExtension::GetModularFeatureName(), &Extension);

    EXPECT_TRUE(Mode->GetToolSections().IsEmpty());
    EXPECT_EQ(Mode->StartToolByName("Select Things"), nullptr);

    IModularFeatures::Get().RegisterModularFeature(
        ISkeletalMeshModelingModeToolExtension::GetModularFeatureName(), &Extension);
    EXPECT_EQ(Mode->GetToolSections().Num(), 1);
    EXPECT_NE(Mode->StartToolByName("Select Things"), nullptr);
}

TEST_F(SkeletalMeshModelingModeTest, ClosingTheModeCancelsTheActiveTool)
{
    DeleteATriangleOnThePreview();
    const FMeshDescription Before = *Mesh->GetMeshDescription(0);

    Mode.reset();

    EXPECT_FALSE(Manager->HasActiveTool());
    EXPECT_EQ(*Mesh->GetMeshDescription(0), Before);
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
}

TEST_F(SkeletalMeshModelingModeTest, LeavingTheModeCanAcceptTheActiveTool)
{
    DeleteATriangleOnThePreview();
    const int32 Triangles = Mesh->GetMeshDescription(0)->Triangles().Num();

    Mode->Exit(EToolShutdownType::Accept);
    EXPECT_FALSE(Mode->IsActive());
    EXPECT_FALSE(Manager->HasActiveTool());
    EXPECT_EQ(Mesh->GetMeshDescription(0)->Triangles().Num(), Triangles - 1);
}
