#include "Support/Tools/SampleSelectionTool.h"

#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "InteractiveToolsFramework/ToolTargets/SkeletalMeshToolTarget.h"
#include "MeshDescription/MeshDescription.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

namespace
{
constexpr EMeshSelectionElementType Faces = EMeshSelectionElementType::Face;

class MeshSelectionToolTest : public testing::Test
{
protected:
    void SetUp() override
    {
        FTransactionBuffer::Get().Reset();
        Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Tools/SelectionToolMesh"}).Mesh;
        Manager = NewObject<UInteractiveToolManager>(GetTransientPackage());
        World = NewObject<UWorld>(GetTransientPackage());
        Builder = NewObject<USampleSelectionToolBuilder>(GetTransientPackage());
        State = {World, Manager, {USkeletalMeshToolTarget::Make(Mesh)}};
    }
    void TearDown() override { FTransactionBuffer::Get().Reset(); }

    USampleSelectionTool* Begin() { return Cast<USampleSelectionTool>(Manager->BeginTool(Builder, State)); }
    const FMeshDescription& Description() const { return *Mesh->GetMeshDescription(0); }

    USkeletalMesh* Mesh = nullptr;
    UInteractiveToolManager* Manager = nullptr;
    UWorld* World = nullptr;
    USampleSelectionToolBuilder* Builder = nullptr;
    FToolBuilderState State;
};

/** The tool's only message so far is this warning. */
void ExpectOnlyWarning(const UInteractiveToolManager& Manager, const FString& Text)
{
    ASSERT_EQ(Manager.GetMessageHistory().Num(), 1);
    EXPECT_EQ(Manager.GetMessageHistory()[0].Level, EToolMessageLevel::UserWarning);
    EXPECT_EQ(Manager.GetMessageHistory()[0].Text.ToString(), Text);
}
} // namespace

TEST_F(MeshSelectionToolTest, TheBuilderWantsExactlyOneTargetWithASkeletalMesh)
{
    EXPECT_TRUE(Builder->CanBuildTool(State));

    FToolBuilderState NoTarget{World, Manager, {}};
    FToolBuilderState TwoTargets{World, Manager, {State.Targets[0], State.Targets[0]}};
    FToolBuilderState NoMesh{World, Manager, {USkeletalMeshToolTarget::Make(nullptr)}};
    FToolBuilderState NotAMesh{World, Manager, {NewObject<UToolTarget>(GetTransientPackage())}};
    for (const FToolBuilderState& Refused : {NoTarget, TwoTargets, NoMesh, NotAMesh})
    {
        EXPECT_FALSE(Builder->CanBuildTool(Refused));
        EXPECT_EQ(Manager->BeginTool(Builder, Refused), nullptr);
    }
}

TEST_F(MeshSelectionToolTest, BuildingPreparesTheToolAndSetupShowsLOD0AsThePreviewAndCallsBothHooks)
{
    USampleSelectionTool* Tool = Begin();
    ASSERT_NE(Tool, nullptr);
    EXPECT_EQ(Tool->GetOuter(), Manager);
    EXPECT_EQ(Tool->GetWorld(), World);
    EXPECT_EQ(Tool->GetTarget(), State.Targets[0]);
    EXPECT_TRUE(Tool->HasAccept());
    // That preview triangles stand where the asset's triangles of the same ID stand is the selection
    // mapping's test.
    EXPECT_EQ(Tool->GetPreviewMesh()->GetMesh()->TriangleCount(), Description().Triangles().Num());
    EXPECT_TRUE(Tool->GetSelection()->GetElements(Faces).IsEmpty());
    EXPECT_TRUE(Tool->bHadPreviewAndSelectionInHooks);
    ASSERT_EQ(Tool->GetToolProperties().Num(), 2);
    EXPECT_TRUE(Tool->GetToolProperties()[0]->IsA<USampleToolSettings>());
    EXPECT_EQ(Tool->GetToolProperties()[1], Tool->GetEditActions());
    EXPECT_EQ(Tool->GetEditActions()->GetParentTool(), Tool);
}

TEST_F(MeshSelectionToolTest, OnlyTheFirstRequestBetweenTicksRuns)
{
    USampleSelectionTool* Tool = Begin();
    Tool->GetSelection()->AddIndices(Faces, {0});
    Tool->RequestAction(EMeshSelectionToolActions::GrowSelection);
    Tool->RequestAction(EMeshSelectionToolActions::ClearSelection);
    Manager->Tick(0.1f);
    const TArray<int32> Grown = Tool->GetSelection()->GetElements(Faces);
    EXPECT_GT(Grown.Num(), 1);

    Manager->Tick(0.1f);
    EXPECT_EQ(Tool->GetSelection()->GetElements(Faces), Grown);
}

TEST_F(MeshSelectionToolTest, GeometryActionsKeepTheSelectionAndCountAsEditsButPolygroupsDoNot)
{
    struct FCase
    {
        EMeshSelectionToolActions Action;
        bool bGeometryEdit;
    };
    for (const FCase Case : {FCase{EMeshSelectionToolActions::Disconnect, true},
                             FCase{EMeshSelectionToolActions::FlipNormals, true},
                             FCase{EMeshSelectionToolActions::SmoothBorder, true},
                             FCase{EMeshSelectionToolActions::CreatePolygroup, false}})
    {
        SCOPED_TRACE(static_cast<int32>(Case.Action));
        USampleSelectionTool* Tool = Begin();
        const int32 Revision = Tool->GetPreviewMesh()->GetRevision();
        Tool->GetSelection()->AddIndices(Faces, {2, 3, 14, 15});
        Tool->RequestAction(Case.Action);
        Manager->Tick(0.1f);

        EXPECT_EQ(Tool->HaveModifiedGeometry(), Case.bGeometryEdit);
        EXPECT_GT(Tool->GetPreviewMesh()->GetRevision(), Revision);
        EXPECT_EQ(Tool->GetSelection()->GetElements(Faces).Num(), 4);
        EXPECT_TRUE(Tool->GetPreviewMesh()->GetMesh()->CheckValidity());
        Manager->EndTool(EToolShutdownType::Cancel);
    }
}

TEST_F(MeshSelectionToolTest, EditsAreNotWrittenOverAnAssetThatChangedMeanwhile)
{
    USampleSelectionTool* Tool = Begin();
    Tool->GetSelection()->AddIndices(Faces, {0});
    Tool->RequestAction(EMeshSelectionToolActions::Delete);
    Manager->Tick(0.1f);
    {
        FScopedTransaction Transaction(FText::FromString("Elsewhere"));
        Mesh->Modify();
        Mesh->ModifyMeshDescription(0);
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    }
    const FMeshDescription Changed = Description();

    Manager->EndTool(EToolShutdownType::Accept);

    EXPECT_EQ(Description(), Changed);
    EXPECT_EQ(FTransactionBuffer::Get().GetUndoTitles().Num(), 1);
    ExpectOnlyWarning(*Manager,
                      "The selection edits were not written back: the mesh changed while the tool was open.");
}

// Edits that delete every triangle are refused with a warning; the others say nothing.
TEST_F(MeshSelectionToolTest, EmptyingEditsAcceptsWithoutGeometryEditsAndCancelsWriteNothing)
{
    const FMeshDescription Before = Description();
    USampleSelectionTool* Emptying = Begin();
    Emptying->RequestAction(EMeshSelectionToolActions::SelectAll);
    Manager->Tick(0.1f);
    Emptying->RequestAction(EMeshSelectionToolActions::Delete);
    Manager->Tick(0.1f);
    ASSERT_EQ(Emptying->GetPreviewMesh()->GetMesh()->TriangleCount(), 0);
    Manager->EndTool(EToolShutdownType::Accept);

    USampleSelectionTool* Selecting = Begin();
    Selecting->RequestAction(EMeshSelectionToolActions::SelectAll);
    Manager->Tick(0.1f);
    Manager->EndTool(EToolShutdownType::Accept);

    USampleSelectionTool* Cancelled = Begin();
    Cancelled->GetSelection()->AddIndices(Faces, {0});
    Cancelled->RequestAction(EMeshSelectionToolActions::Delete);
    Manager->Tick(0.1f);
    Manager->EndTool(EToolShutdownType::Cancel);

    EXPECT_EQ(Description(), Before);
    EXPECT_FALSE(Mesh->GetPackage()->IsDirty());
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
    ExpectOnlyWarning(*Manager, "The selection edits were not written back: they delete every polygon, which "
                                "would leave an empty mesh.");
}
