#include "TestSelectionTools.h"
#include "ToolTestFixture.h"

#include "CoreUObject/Object/StrongObjectPtr.h"
#include "CoreUObject/Reflection/Class.h"
#include "CoreUObject/Reflection/Function.h"
#include "GeometryCore/Selections/TriangleSelectionOps.h"
#include "InteractiveToolsFramework/ToolTargets/SkeletalMeshToolTarget.h"
#include "MeshDescription/MeshAttributes.h"
#include "RivetEditor/Private/Tools/RivetMeshEditActions.h"
#include "Support/MeshBuilders.h"

namespace
{
const char* const TextNamespace = "RivetDeletePolygonsTool";

/** The test character (48 triangles in three slots) open in the editor. */
class DeletePolygonsToolTest : public FToolTest
{
protected:
    void SetUp() override { Open({.PackageName = "/Game/Tools/DeleteTarget"}); }

    URivetDeletePolygonsTool* Start()
    {
        return StartToolAs<URivetDeletePolygonsTool>(Editor, "Delete Polygons");
    }
    void DeleteSelection(const TArray<int32>& Triangles)
    {
        PressOnSelection(Triangles, "Delete Selected Polygons");
    }
};
} // namespace

TEST_F(DeletePolygonsToolTest, StartsThroughTheModeWithItsPanelHintAndMetadata)
{
    URivetDeletePolygonsTool* Tool = Start();

    ExpectText(Tool->GetToolDisplayName(), TextNamespace, "ToolName", "Delete Polygons");
    ExpectLastMessage(Editor, TextNamespace, "ToolStartup",
                      "Select polygons in the viewport, then press Delete Selected Polygons.",
                      EToolMessageLevel::UserNotification);

    // Every selection tool shows its settings and the Mesh Edits panel, both pointing back at it.
    const TArray<TObjectPtr<UInteractiveToolPropertySet>>& Panels = Tool->GetToolProperties();
    ASSERT_EQ(Panels.Num(), 2);
    EXPECT_EQ(Panels[0].Get(), Tool->GetSettings());
    EXPECT_EQ(Tool->GetSettings()->ParentTool.Get(), Tool);
    EXPECT_EQ(Cast<URivetMeshEditActions>(Panels[1].Get())->GetParentTool(), Tool);
    EXPECT_EQ(URivetDeletePolygonsToolBuilder::StaticClass()->GetMetaDataText("ToolTip"),
              "Builder for the Delete Polygons tool.");
    EXPECT_FALSE(URivetDeletePolygonsTool::StaticClass()->FindPropertyByName("Settings")->IsEditable());

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

TEST_F(DeletePolygonsToolTest, DeletesThePaintedPolygonOnceEndsAndUndoesInOneStep)
{
    URivetDeletePolygonsTool* Tool = Start();
    const TStrongObjectPtr<URivetDeletePolygonsToolProperties> Settings(Tool->GetSettings());
    const FSkeletalMeshSnapshot Before(*Mesh);
    const FMeshDescription& BeforeLOD0 = *Before.Descriptions[0];
    // A second preview triangle over asset triangle 7, and two presses before a tick: one delete.
    int32 Copy = INDEX_NONE;
    Tool->GetPreviewMesh()->EditMesh(
        [&](FDynamicMesh3& Preview)
        {
            const FIndex3i Corners = Preview.GetTriangle(7);
            const FVector Shift(0.001, 0.0, 0.0);
            Copy = Preview.AppendTriangle({Preview.AppendVertex(Preview.GetVertex(Corners.A) + Shift),
                                           Preview.AppendVertex(Preview.GetVertex(Corners.B) + Shift),
                                           Preview.AppendVertex(Preview.GetVertex(Corners.C) + Shift)});
        });
    ASSERT_TRUE(Editor.SelectPreviewTriangles({7, Copy}));
    Press("DeleteNow");
    DeleteSelection({});

    ExpectLastMessage(Editor, TextNamespace, "DeleteDone", "Deleted 1 polygon(s).",
                      EToolMessageLevel::UserNotification);
    EXPECT_EQ(CountMessages(Editor, "DeleteDone"), 1);
    EXPECT_EQ(Editor.GetActiveTool(), nullptr);
    // The painted triangle went; the others stay in their order.
    ASSERT_EQ(Triangles(Mesh), 47);
    for (int32 Triangle = 0; Triangle < 47; ++Triangle)
    {
        EXPECT_EQ(TriangleCornerPositions(*Mesh->GetMeshDescription(0), FTriangleID(Triangle)),
                  TriangleCornerPositions(BeforeLOD0, FTriangleID(Triangle < 7 ? Triangle : Triangle + 1)));
    }
    EXPECT_TRUE(Mesh->HasValidRenderData());
    ExpectOneUndoStep("Delete Polygons", "DeletePolygonsTransaction");

    // The button of the ended tool does nothing.
    const int32 Messages = Editor.GetMessages().Num();
    Settings->DeleteNow();
    Editor.Tick();
    EXPECT_EQ(Settings->ParentTool.Get(), nullptr);
    EXPECT_EQ(Editor.GetMessages().Num(), Messages);
    EXPECT_EQ(Triangles(Mesh), 47);

    ASSERT_TRUE(Editor.Undo());
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_FALSE(Editor.Undo());
}

TEST_F(DeletePolygonsToolTest, SelectingEveryPolygonIsRejectedAndTheToolStays)
{
    URivetDeletePolygonsTool* Tool = Start();
    const TArray<int32> Everything = TriangleSelectionOps::SelectAll(*Tool->GetPreviewMesh()->GetMesh());
    const FSkeletalMeshSnapshot Before(*Mesh);

    DeleteSelection(Everything);

    ExpectLastMessage(Editor, TextNamespace, "DeleteRejected",
                      "Nothing was deleted. Selecting every polygon would leave an empty mesh.",
                      EToolMessageLevel::UserWarning);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_EQ(Editor.GetActiveTool(), Tool);
    EXPECT_EQ(Tool->GetSelection()->GetElements(EMeshSelectionElementType::Face), Everything);
    ExpectOneUndoStep("Delete Polygons");
    EXPECT_EQ(FTransactionBuffer::Get().GetRecordCount(), 1) << "the mesh recorded, nothing else";

    // The user takes one polygon out of the selection and tries again.
    Tool->GetSelection()->RemoveIndices(EMeshSelectionElementType::Face, {0});
    Press("Delete Selected Polygons");
    Editor.Tick();
    ExpectLastMessage(Editor, TextNamespace, "DeleteDone", "Deleted 47 polygon(s).",
                      EToolMessageLevel::UserNotification);
    EXPECT_EQ(Triangles(Mesh), 1);
}

TEST_F(DeletePolygonsToolTest, SelectionsThatMatchNothingOnTheAssetAreCountedAndChangeNothing)
{
    URivetDeletePolygonsTool* Tool = Start();
    const auto ExpectUnmatched = [&](const TArray<int32>& Selection, int32 Unmatched)
    {
        SCOPED_TRACE(Unmatched);
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
    };
    ExpectUnmatched({}, 0);
    // Polygons the asset moved away from, as a reimport would move it; then no LOD 0 geometry at all.
    Mesh->GetMeshDescription(0)
        ->VertexAttributes()
        .GetAttributesRef<FVector3f>(MeshAttribute::Vertex::Position)[FVertexID(0)]
        .Z += 0.5f;
    ExpectUnmatched({0, 5, 9999}, 2);
    Mesh->ClearMeshDescription(0);
    ExpectUnmatched({0}, 0);
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
