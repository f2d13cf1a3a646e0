#include "Core/Modules/ModularFeatures.h"
#include "Core/Modules/ModuleManager.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/Components/StaticMeshComponent.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Engine/World/World.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetEditorModuleName.h"
#include "Support/TestSkeletalAsset.h"
#include "Support/Tools/SampleToolExtension.h"
#include "VantorEd/Animation/DebugSkelMeshComponent.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

namespace
{
class HeadlessEditorTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Editor = std::make_unique<FHeadlessEditor>(TArray<FName>{RivetEditorModuleName});
        Samples.Register();
        Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Editor/EditedMesh"}).Mesh;
        Editor->OpenAsset(Mesh);
    }
    void TearDown() override
    {
        Editor.reset();
        Samples.Unregister();
    }

    USampleToolSettings* Settings() const
    {
        return Cast<USampleToolSettings>(Editor->GetActiveTool()->GetToolProperties()[0].Get());
    }

    FSampleToolExtension Samples;
    std::unique_ptr<FHeadlessEditor> Editor;
    USkeletalMesh* Mesh = nullptr;
};
} // namespace

TEST_F(HeadlessEditorTest, ThePreviewWorldShowsTheAssetAboveAFloor)
{
    UWorld* World = Editor->GetPreviewWorld();
    ASSERT_EQ(World->GetActors().Num(), 1);
    UDebugSkelMeshComponent* Preview = Editor->GetPreviewComponent();
    EXPECT_EQ(Preview->GetOwner(), World->GetActors()[0]);
    EXPECT_EQ(Preview->GetSkeletalMeshAsset(), Mesh);

    int32 Floors = 0;
    for (UActorComponent* Component : World->GetRegisteredComponents())
    {
        if (const UStaticMeshComponent* Floor = Cast<UStaticMeshComponent>(Component))
        {
            ++Floors;
            EXPECT_EQ(Floor->GetOwner(), nullptr);
            EXPECT_TRUE(Floor->GetStaticMesh()->GetName().Contains("Floor"));
            EXPECT_EQ(Floor->GetComponentLocation().Z, 0.0);
        }
    }
    EXPECT_EQ(Floors, 1);
}

TEST_F(HeadlessEditorTest, TheModeListsTheModuleSectionWithItsFiveToolsUntilTheModuleShutsDown)
{
    const TArray<FModelingModeToolSection>& Sections = Editor->GetMode().GetToolSections();
    ASSERT_EQ(Sections.Num(), 2);
    EXPECT_EQ(Sections[0].SectionName.ToString(), "Rivet Editor");
    EXPECT_EQ(Sections[0].ExtensionName.ToString(), "Rivet Editor");
    // Which tools in which order is the module's test (its info and full queries).
    EXPECT_EQ(Sections[0].Tools.Num(), 5);

    FModuleManager::Get().UnloadModule(FName("RivetEditor"));
    ASSERT_EQ(Sections.Num(), 1);
    EXPECT_EQ(Sections[0].SectionName.ToString(), "Samples");
    EXPECT_EQ(Editor->StartTool("Delete Polygons"), nullptr);
}

TEST_F(HeadlessEditorTest, ClosingTheEditorWithAToolActiveWritesNothing)
{
    const FMeshDescription Before = *Mesh->GetMeshDescription(0);
    Editor->StartTool("Sample Selection");
    Editor->SelectPreviewTriangles({0});
    FString Error;
    Editor->PressButton("Delete Selection", Error);
    Editor->Tick();

    Editor.reset();

    EXPECT_EQ(*Mesh->GetMeshDescription(0), Before);
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
    EXPECT_FALSE(Mesh->GetPackage()->IsDirty());
}

TEST_F(HeadlessEditorTest, PropertiesAreSetAndButtonsPressedByNameOrDisplayNameAsThePanelDoes)
{
    Editor->StartTool("Sample Selection");
    FString Error;

    ASSERT_TRUE(Editor->SetProperty("Edge Scale", "5", Error)) << *Error;
    EXPECT_EQ(Settings()->Scale, 2.0);
    ASSERT_TRUE(Editor->SetProperty("scale", "0.75", Error)) << *Error;
    EXPECT_EQ(Settings()->Scale, 0.75);

    EXPECT_FALSE(Editor->SetProperty("Scale", "lots", Error));
    EXPECT_EQ(Settings()->Scale, 0.75);
    EXPECT_FALSE(Editor->SetProperty("Passes", "3", Error));
    EXPECT_EQ(Error, "'Passes' is disabled by the other settings");
    EXPECT_FALSE(Editor->SetProperty("bAdvanced", "true", Error));
    EXPECT_EQ(Error, "'bAdvanced' cannot be edited");
    EXPECT_FALSE(Editor->SetProperty("Colour", "red", Error));
    EXPECT_EQ(Error, "the tool has no property 'Colour'");
    EXPECT_EQ(Settings()->Passes, 1);
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());

    // Only call-in-editor functions are pressable.
    EXPECT_FALSE(Editor->PressButton("NotAButton", Error));
    EXPECT_EQ(Error, "the tool has no button 'NotAButton'");
    ASSERT_TRUE(Editor->PressButton("selectall", Error)) << *Error;
    Editor->Tick();
    EXPECT_EQ(Editor->GetSelectionTool()->GetSelection()->GetElements(EMeshSelectionElementType::Face).Num(),
              Mesh->GetMeshDescription(0)->Triangles().Num());
}

TEST_F(HeadlessEditorTest, WithoutAToolNothingCanBeSetPressedOrSelected)
{
    FString Error;
    EXPECT_EQ(Editor->StartTool("No Such Tool"), nullptr);
    EXPECT_FALSE(Editor->SelectPreviewTriangles({0}));
    EXPECT_FALSE(Editor->SetProperty("Scale", "1", Error));
    EXPECT_EQ(Error, "no tool is active");
    EXPECT_FALSE(Editor->PressButton("Delete", Error));
    EXPECT_EQ(Error, "no tool is active");
    Editor->Tick(3);
    EXPECT_TRUE(Editor->GetMessages().IsEmpty());
    EXPECT_EQ(Editor->GetLastMessage(), "");
}
