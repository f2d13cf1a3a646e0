#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "SkeletalMeshModelingMode/SkeletalMeshModelingMode.h"
#include "Support/TestSkeletalAsset.h"
#include "Support/Tools/SampleToolExtension.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

namespace
{
class SkeletalMeshModelingModeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Extension.Register();
        Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Tools/ModeMesh"}).Mesh;
        World = NewObject<UWorld>(GetTransientPackage());
        Manager = NewObject<UInteractiveToolManager>(GetTransientPackage());
        Mode = std::make_unique<FSkeletalMeshModelingMode>(World, Manager);
    }
    void TearDown() override
    {
        Mode.reset();
        Extension.Unregister();
        FTransactionBuffer::Get().Reset();
    }

    FSampleToolExtension Extension;
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
    EXPECT_EQ(Sections[0].ExtensionName.ToString(), "Samples");
    EXPECT_EQ(Sections[0].SectionName.ToString(), "Samples");
    ASSERT_EQ(Sections[0].Tools.Num(), 2);
    EXPECT_EQ(Sections[0].Tools[0].ToolName.ToString(), "Sample Selection");
    EXPECT_EQ(Sections[0].Tools[0].ToolBuilder, nullptr);
    EXPECT_EQ(Extension.Builder.Get(), nullptr);
}

TEST_F(SkeletalMeshModelingModeTest, ToolsStartByExactNameOrCommandOnceTheModeIsOpenAndTheyHaveABuilder)
{
    EXPECT_EQ(Mode->StartToolByName("Sample Selection"), nullptr) << "the mode is not open";
    Mode->Enter(Mesh);
    EXPECT_EQ(Mode->GetToolSections()[0].Tools[0].ToolBuilder, Extension.Builder.Get());

    auto* ByCommand = Cast<USampleSelectionTool>(Mode->StartToolByCommand(FName("BeginSampleSelection")));
    ASSERT_NE(ByCommand, nullptr);
    EXPECT_EQ(ByCommand->GetWorld(), World);
    EXPECT_EQ(Manager->GetActiveTool(), ByCommand);
    EXPECT_EQ(ByCommand->GetPreviewMesh()->GetMesh()->TriangleCount(),
              Mesh->GetMeshDescription(0)->Triangles().Num());
    Manager->EndTool(EToolShutdownType::Cancel);

    EXPECT_EQ(Mode->StartToolByName("Not Built Yet"), nullptr);
    EXPECT_EQ(Mode->StartToolByName("sample selection"), nullptr);
    EXPECT_EQ(Mode->StartToolByCommand(FName("BeginNothing")), nullptr);
    EXPECT_FALSE(Manager->HasActiveTool());
}
