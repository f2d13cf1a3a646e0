#include "TestSelectionTools.h"

#include "CoreUObject/Object/StrongObjectPtr.h"
#include "CoreUObject/Reflection/Class.h"
#include "CoreUObject/Reflection/Function.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "InteractiveToolsFramework/ToolTargets/SkeletalMeshToolTarget.h"
#include "MeshDescription/MeshAttributes.h"
#include "RivetEditor/Private/Tools/RivetMeshEditActions.h"
#include "RivetEditorLog.h"
#include "RivetEditorModuleName.h"
#include "Support/MeshBuilders.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "Support/TestSkeletalAsset.h"
#include "Support/ToolMessageExpectations.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace
{
const char* const TextNamespace = "RivetDeletePolygonsTool";
const FName LogCategory = LogRivetEditor.GetCategoryName();

/** The test character (48 triangles in three slots) open in the editor. */
class DeletePolygonsToolTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Tools/DeleteTarget"}).Mesh;
        Editor.OpenAsset(Mesh);
    }

    URivetDeletePolygonsTool* Start()
    {
        return StartToolAs<URivetDeletePolygonsTool>(Editor, "Delete Polygons");
    }

    void Press(const FString& Button) { PressToolButton(Editor, Button); }

    /** Paints the triangles, presses the tool's button and runs a frame. */
    void DeleteSelection(const TArray<int32>& Triangles)
    {
        ASSERT_TRUE(Editor.SelectPreviewTriangles(Triangles));
        Press("Delete Selected Polygons");
        Editor.Tick();
    }

    int32 AssetTriangles() const { return Mesh->GetMeshDescription(0)->Triangles().Num(); }

    FHeadlessEditor Editor{{RivetEditorModuleName}};
    USkeletalMesh* Mesh = nullptr;
};
} // namespace

TEST_F(DeletePolygonsToolTest, StartsThroughTheModeWithItsPanelHintAndMetadata)
{
    URivetDeletePolygonsTool* Tool = Start();

    EXPECT_EQ(Tool->GetToolDisplayName().ToString(), "Delete Polygons");
    EXPECT_EQ(Tool->GetToolDisplayName().GetKey(), "ToolName");
    ExpectLastMessage(Editor, TextNamespace, "ToolStartup",
                      "Select polygons in the viewport, then press Delete Selected Polygons.",
                      EToolMessageLevel::UserNotification);

    const TArray<TObjectPtr<UInteractiveToolPropertySet>>& Panels = Tool->GetToolProperties();
    ASSERT_EQ(Panels.Num(), 2);
    const URivetDeletePolygonsToolProperties* Settings =
        Cast<URivetDeletePolygonsToolProperties>(Panels[0].Get());
    ASSERT_NE(Settings, nullptr);
    EXPECT_EQ(Settings, Tool->GetSettings());
    EXPECT_EQ(Settings->GetOuter(), Tool);
    EXPECT_EQ(Settings->ParentTool.Get(), Tool);
    const URivetMeshEditActions* Actions = Cast<URivetMeshEditActions>(Panels[1].Get());
    ASSERT_NE(Actions, nullptr);
    EXPECT_EQ(Actions->GetOuter(), Tool);
    EXPECT_EQ(Actions->GetParentTool(), Tool);

    // The classes carry their panel metadata.
    EXPECT_EQ(URivetDeletePolygonsToolBuilder::StaticClass()->GetMetaDataText("ToolTip"),
              "Builder for the Delete Polygons tool.");
    EXPECT_TRUE(URivetDeletePolygonsToolBuilder::StaticClass()->IsChildOf<UMeshSelectionToolBuilder>());
    EXPECT_TRUE(URivetDeletePolygonsTool::StaticClass()->IsChildOf<UMeshSelectionTool>());

    const FProperty* SettingsProperty =
        URivetDeletePolygonsTool::StaticClass()->FindPropertyByName("Settings");
    ASSERT_NE(SettingsProperty, nullptr);
    EXPECT_FALSE(SettingsProperty->IsEditable());

    const UClass* Properties = URivetDeletePolygonsToolProperties::StaticClass();
    EXPECT_EQ(Properties->GetProperties().Num(), Properties->GetSuperClass()->GetProperties().Num());
    const FFunction* DeleteNow = Properties->FindFunctionByName("DeleteNow");
    ASSERT_NE(DeleteNow, nullptr);
    EXPECT_EQ(DeleteNow->GetMetaData("CallInEditor"), "true");
    EXPECT_EQ(DeleteNow->GetMetaData("Category"), "Polygons");
    EXPECT_EQ(DeleteNow->GetMetaData("DisplayName"), "Delete Selected Polygons");
    EXPECT_EQ(DeleteNow->GetMetaData("DisplayPriority"), "1");
    EXPECT_EQ(DeleteNow->GetMetaData("ToolTip"),
              "Deletes the selected polygons from the asset.\n\nWARNING: Does nothing if every polygon is "
              "selected -- an empty mesh\nmakes the asset invalid.");
}

TEST_F(DeletePolygonsToolTest, DeletesThePaintedPolygonEndsAndUndoesInOneStep)
{
    const TStrongObjectPtr<URivetDeletePolygonsToolProperties> Settings(Start()->GetSettings());
    const FSkeletalMeshSnapshot Before(*Mesh);

    DeleteSelection({7});

    ExpectLastMessage(Editor, TextNamespace, "DeleteDone", "Deleted 1 polygon(s).",
                      EToolMessageLevel::UserNotification);
    EXPECT_EQ(Editor.GetActiveTool(), nullptr);
    EXPECT_EQ(AssetTriangles(), 47);
    EXPECT_TRUE(Mesh->HasValidRenderData());
    EXPECT_TRUE(Editor.GetLog().ContainsMessage(
        LogCategory, "[RivetEditor] Deleted: 1 triangles, 0 vertices, 0 vertex instances"));
    const TArray<FText> Steps = FTransactionBuffer::Get().GetUndoTitles();
    ASSERT_EQ(Steps.Num(), 1);
    EXPECT_EQ(Steps[0].ToString(), "Delete Polygons");
    EXPECT_EQ(Steps[0].GetKey(), "DeletePolygonsTransaction");

    // The button of the ended tool does nothing.
    const int32 Messages = Editor.GetMessages().Num();
    Settings->DeleteNow();
    Editor.Tick();
    EXPECT_EQ(Settings->ParentTool.Get(), nullptr);
    EXPECT_EQ(Editor.GetMessages().Num(), Messages);
    EXPECT_EQ(AssetTriangles(), 47);

    ASSERT_TRUE(Editor.Undo());
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_FALSE(Editor.Undo());
}

TEST_F(DeletePolygonsToolTest, TheRightTrianglesGo)
{
    Start();
    const FMeshDescription Before = *Mesh->GetMeshDescription(0);

    DeleteSelection({0, 1, 47});

    // What is left are the former triangles 2 to 46, in their order.
    const FMeshDescription& After = *Mesh->GetMeshDescription(0);
    ASSERT_EQ(After.Triangles().Num(), 45);
    for (int32 Triangle = 0; Triangle < 45; ++Triangle)
    {
        EXPECT_EQ(TriangleCornerPositions(After, FTriangleID(Triangle)),
                  TriangleCornerPositions(Before, FTriangleID(Triangle + 2)))
            << Triangle;
    }
}

TEST_F(DeletePolygonsToolTest, TwoPreviewTrianglesOnOneAssetTriangleAndTwoPressesBeforeATickDeleteOnce)
{
    URivetDeletePolygonsTool* Tool = Start();
    int32 Copy = INDEX_NONE;
    Tool->GetPreviewMesh()->EditMesh(
        [&](FDynamicMesh3& Preview)
        {
            const FIndex3i Corners = Preview.GetTriangle(9);
            const FVector Shift(0.001, 0.0, 0.0);
            Copy = Preview.AppendTriangle({Preview.AppendVertex(Preview.GetVertex(Corners.A) + Shift),
                                           Preview.AppendVertex(Preview.GetVertex(Corners.B) + Shift),
                                           Preview.AppendVertex(Preview.GetVertex(Corners.C) + Shift)});
        });

    // Two presses before a tick delete once.
    ASSERT_TRUE(Editor.SelectPreviewTriangles({9, Copy}));
    Press("Delete Selected Polygons");
    Press("DeleteNow");
    Editor.Tick(2);

    ExpectLastMessage(Editor, TextNamespace, "DeleteDone", "Deleted 1 polygon(s).",
                      EToolMessageLevel::UserNotification);
    EXPECT_EQ(CountMessages(Editor, "DeleteDone"), 1);
    EXPECT_EQ(AssetTriangles(), 47);
    EXPECT_EQ(FTransactionBuffer::Get().GetUndoTitles().Num(), 1);
    EXPECT_EQ(Editor.GetLog().CountLines(LogCategory), 1);
}

TEST_F(DeletePolygonsToolTest, SelectingEveryPolygonIsRejectedAndTheToolStays)
{
    URivetDeletePolygonsTool* Tool = Start();
    TArray<int32> Everything;
    for (int32 Triangle = 0; Triangle < 48; ++Triangle)
    {
        Everything.Add(Triangle);
    }
    const FSkeletalMeshSnapshot Before(*Mesh);

    DeleteSelection(Everything);

    ExpectLastMessage(Editor, TextNamespace, "DeleteRejected",
                      "Nothing was deleted. Selecting every polygon would leave an empty mesh.",
                      EToolMessageLevel::UserWarning);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_EQ(Editor.GetActiveTool(), Tool);
    EXPECT_EQ(Tool->GetSelection()->GetElements(EMeshSelectionElementType::Face), Everything);
    EXPECT_TRUE(Editor.GetLog().ContainsMessage(
        LogCategory, "[RivetEditor] Delete refused: all triangles are selected (48)"));
    const TArray<FText> Steps = FTransactionBuffer::Get().GetUndoTitles();
    ASSERT_EQ(Steps.Num(), 1);
    EXPECT_EQ(Steps[0].ToString(), "Delete Polygons");
    EXPECT_EQ(FTransactionBuffer::Get().GetRecordCount(), 1) << "the mesh recorded, nothing else";

    // The user takes one polygon out of the selection and tries again.
    Tool->GetSelection()->RemoveIndices(EMeshSelectionElementType::Face, {0});
    Press("Delete Selected Polygons");
    Editor.Tick();
    ExpectLastMessage(Editor, TextNamespace, "DeleteDone", "Deleted 47 polygon(s).",
                      EToolMessageLevel::UserNotification);
    EXPECT_EQ(AssetTriangles(), 1);
}

TEST_F(DeletePolygonsToolTest, SelectionsThatMatchNothingOnTheAssetAreCountedAndChangeNothing)
{
    URivetDeletePolygonsTool* Tool = Start();
    // An empty selection; polygons the asset moved away from, as a reimport would move it; no LOD 0 geometry.
    const std::function<void()> Moved = [this]
    {
        Mesh->GetMeshDescription(0)
            ->VertexAttributes()
            .GetAttributesRef<FVector3f>(MeshAttribute::Vertex::Position)[FVertexID(0)]
            .Z += 0.5f;
    };
    const std::function<void()> Cleared = [this]
    {
        Mesh->ClearMeshDescription(0);
    };
    const std::tuple<std::function<void()>, TArray<int32>, int32> Cases[] = {
        {[] {}, {}, 0}, {Moved, {0, 5, 9999}, 2}, {Cleared, {0}, 0}};
    for (const auto& [Prepare, Selection, Unmatched] : Cases)
    {
        SCOPED_TRACE(Unmatched);
        Prepare();
        const FSkeletalMeshSnapshot Before(*Mesh);
        DeleteSelection(Selection);
        ExpectLastMessage(Editor, TextNamespace, "MappingFailed",
                          FString::Printf("Could not match %d of the selected polygons to the asset. Nothing "
                                          "was changed — reimport the mesh and try again.",
                                          Unmatched),
                          EToolMessageLevel::UserWarning);
        EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
        EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
        EXPECT_EQ(Editor.GetActiveTool(), Tool);
    }
}

TEST_F(DeletePolygonsToolTest, WithoutAMeshOrASelectionSetNothingHappens)
{
    const FSkeletalMeshSnapshot Before(*Mesh);

    // No target, and a target that does not stand for a skeletal mesh.
    for (UToolTarget* Target :
         {static_cast<UToolTarget*>(nullptr), NewObject<UToolTarget>(Editor.GetToolManager())})
    {
        URivetDeletePolygonsTool* Tool = NewObject<URivetDeletePolygonsTool>(Editor.GetToolManager());
        Tool->SetTarget(Target);
        Tool->Setup();
        Tool->RequestDelete();
        Tool->OnTick(0.0f);
        ExpectLastMessage(Editor, TextNamespace, "NoMesh",
                          "Could not reach the skeletal mesh. Nothing was changed.",
                          EToolMessageLevel::UserWarning);
    }

    UDeletePolygonsToolWithoutSelection* NoSelection =
        NewObject<UDeletePolygonsToolWithoutSelection>(Editor.GetToolManager());
    NoSelection->SetTarget(USkeletalMeshToolTarget::Make(Mesh));
    NoSelection->Setup();
    NoSelection->RequestDelete();
    NoSelection->OnTick(0.0f);
    ExpectLastMessage(Editor, TextNamespace, "NoSelection",
                      "Select at least one polygon first. Nothing was changed.",
                      EToolMessageLevel::UserWarning);

    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
    EXPECT_FALSE(Editor.GetToolManager()->HasPendingShutdownRequest());
}

TEST_F(DeletePolygonsToolTest, TheMeshEditsPanelEditsThePreviewOnly)
{
    URivetDeletePolygonsTool* Tool = Start();
    const FSkeletalMeshSnapshot Before(*Mesh);
    ASSERT_TRUE(Editor.SelectPreviewTriangles({0, 1}));

    Press("Delete");
    Editor.Tick();

    EXPECT_EQ(Tool->GetPreviewMesh()->GetMesh()->TriangleCount(), 46);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_EQ(Editor.GetActiveTool(), Tool);
}
