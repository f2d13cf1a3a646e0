#include "ToolTestFixture.h"

#include "RivetEditor/Private/Tools/RivetMeshEditActions.h"
#include "RivetEditor/Private/Tools/RivetRemeshTool.h"

#include <cmath>

namespace
{
const char* const TextNamespace = "RivetRemeshTool";
/** A unit quad's two triangles measure two unit edges and a diagonal each. */
const double QuadAverageEdge = (2.0 + std::sqrt(2.0)) / 3.0;

/** The test character (a 6 x 4 grid, 48 triangles, in three slots) open in the editor. */
class RemeshToolTest : public FToolTest
{
protected:
    void SetUp() override { Open({.PackageName = "/Game/Tools/RemeshTarget", .bMorphNormals = false}); }

    URivetRemeshTool* Start() { return StartToolAs<URivetRemeshTool>(Editor, "Remesh Polygons"); }
    void Press()
    {
        FToolTest::Press("Remesh Selected Polygons");
        Editor.Tick();
    }
};
} // namespace

TEST_F(RemeshToolTest, StartsWithItsPanelsAndHintAndClampsItsProperties)
{
    URivetRemeshTool* Tool = Start();

    EXPECT_EQ(Tool->GetToolDisplayName().GetKey(), "ToolName");
    ExpectLastMessage(Editor, TextNamespace, "ToolStartup",
                      "Select polygons in the viewport, then press Remesh Selected Polygons.",
                      EToolMessageLevel::UserNotification);
    ASSERT_EQ(Tool->GetToolProperties().Num(), 2);
    EXPECT_NE(Cast<URivetMeshEditActions>(Tool->GetToolProperties()[1].Get()), nullptr);

    Set("Density", "50");
    Set("Iterations", "0");
    EXPECT_EQ(Tool->GetSettings()->Density, 10.0);
    EXPECT_EQ(Tool->GetSettings()->Iterations, 1);
    FString Error;
    EXPECT_FALSE(Editor.SetProperty("Target Edge Length", "3", Error)) << "shown, not editable";
}

TEST_F(RemeshToolTest, TheEstimateFollowsTheSelectionSizeAndTheDensity)
{
    URivetRemeshTool* Tool = Start();
    Editor.Tick();
    EXPECT_EQ(Tool->GetSettings()->TargetEdgeLength, 0.0f) << "nothing selected";
    Press();
    ExpectLastMessage(Editor, TextNamespace, "MappingFailed",
                      "Could not match 0 of the selected polygons to the asset. Nothing was changed — reimport "
                      "the mesh and try again.",
                      EToolMessageLevel::UserWarning);
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());

    ASSERT_TRUE(Editor.SelectPreviewTriangles({0, 1, 2, 3}));
    Editor.Tick();
    EXPECT_FLOAT_EQ(Tool->GetSettings()->TargetEdgeLength, static_cast<float>(QuadAverageEdge));

    // Only the density changed: the preview is not measured again (its doubled size goes unseen).
    Tool->GetPreviewMesh()->EditMesh(
        [](FDynamicMesh3& Preview)
        {
            for (const int32 Vertex : Preview.VertexIndices())
            {
                Preview.SetVertex(Vertex, Preview.GetVertex(Vertex) * 2.0);
            }
        });
    Set("Density", "2");
    Editor.Tick();
    EXPECT_FLOAT_EQ(Tool->GetSettings()->TargetEdgeLength, static_cast<float>(2.0 * QuadAverageEdge));

    // Another selection of the same size keeps the old estimate; a new size measures again.
    Tool->GetSelection()->RemoveIndices(EMeshSelectionElementType::Face, {0, 1, 2, 3});
    ASSERT_TRUE(Editor.SelectPreviewTriangles({10, 11, 12, 13}));
    Editor.Tick();
    EXPECT_FLOAT_EQ(Tool->GetSettings()->TargetEdgeLength, static_cast<float>(2.0 * QuadAverageEdge));
    ASSERT_TRUE(Editor.SelectPreviewTriangles({14, 15}));
    Editor.Tick();
    EXPECT_FLOAT_EQ(Tool->GetSettings()->TargetEdgeLength, static_cast<float>(4.0 * QuadAverageEdge));
}

TEST_F(RemeshToolTest, ARefusalOfTheOperationIsShownAndTheToolStays)
{
    Open({.PackageName = "/Game/Tools/RemeshFrown"}); // Frown carries normal deltas
    URivetRemeshTool* Tool = Start();
    const FSkeletalMeshSnapshot Before(*Mesh);
    ASSERT_TRUE(Editor.SelectPreviewTriangles({4, 5}));
    Press();

    ExpectLastMessage(Editor, "RivetRemeshOp", "MorphNormalsWouldBeLost",
                      "This mesh has morph targets that carry normal deltas, and remeshing would discard them for "
                      "every morph on the mesh - not just the selected polygons. The operation was not performed "
                      "and nothing was changed.",
                      EToolMessageLevel::UserWarning);
    EXPECT_EQ(Editor.GetActiveTool(), Tool);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_EQ(FTransactionBuffer::Get().GetRecordCount(), 1) << "the mesh recorded, nothing else";
}

TEST_F(RemeshToolTest, RemeshesThePaintedPolygonsEndsAndUndoesInOneStep)
{
    Start();
    const FSkeletalMeshSnapshot Before(*Mesh);
    ASSERT_TRUE(Editor.SelectPreviewTriangles({0, 1, 2, 3, 12, 13, 14, 15}));
    Set("Density", "0.5");
    Set("Iterations", "3");
    Press();

    const int32 After = Mesh->GetMeshDescription(0)->Triangles().Num();
    ExpectLastMessage(Editor, TextNamespace, "RemeshDoneTotals",
                      FString::Printf("Remeshed 8 selected polygon(s) with edge length 0.569. Mesh total: 48 "
                                      "triangle(s) before, %d after. Save the asset to keep the change.",
                                      After),
                      EToolMessageLevel::UserNotification);
    EXPECT_GT(After, 48);
    EXPECT_EQ(Editor.GetActiveTool(), nullptr);
    ExpectOneUndoStep("Remesh Polygons", "RemeshTransaction");

    ASSERT_TRUE(Editor.Undo());
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
}
