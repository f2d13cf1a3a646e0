#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"

#include "MeshComparison.h"
#include "MeshTestUtil.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
/** The closed tetrahedron on vertices 0 to 3. */
FDynamicMesh3 MakeTetrahedron()
{
    FDynamicMesh3 Mesh;
    for (const FVector& Position : {FVector(0, 0, 0), FVector(1, 0, 0), FVector(0, 1, 0), FVector(0, 0, 1)})
    {
        Mesh.AppendVertex(Position);
    }
    for (const FIndex3i& Tri : {FIndex3i{0, 2, 1}, FIndex3i{0, 1, 3}, FIndex3i{1, 2, 3}, FIndex3i{0, 3, 2}})
    {
        Mesh.AppendTriangle(Tri);
    }
    return Mesh;
}

FDynamicMesh3 MakeLoneTriangle()
{
    FDynamicMesh3 Mesh = MakeGridMesh(1, 1);
    Mesh.RemoveTriangle(1);
    return Mesh;
}

const FDynamicMeshUVOverlay& UVs(const FDynamicMesh3& Mesh)
{
    return *Mesh.Attributes()->GetUVLayer(0);
}

FVector2f UVAt(const FDynamicMesh3& Mesh, int32 TriangleID, int32 VertexID)
{
    return UVs(Mesh).GetElement(UVs(Mesh).GetElementAtVertex(TriangleID, VertexID));
}

} // namespace

// The attributed 3 by 2 grid: a UV seam and a material border run up x = 1, between vertices 1, 5 and 9.
TEST(DynamicMeshEdgeEdits, SplitKeepsEveryAttributeAndTheSeam)
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(3, 2);
    const int32 SeamEdge = Mesh.FindEdge(1, 5);
    FEdgeSplitInfo Split;
    ASSERT_EQ(Mesh.SplitEdge(SeamEdge, Split), EMeshResult::Ok);
    EXPECT_TRUE(IsValidMesh(Mesh));
    const int32 NewVertex = Split.NewVertex;
    EXPECT_EQ(Mesh.GetVertex(NewVertex), FVector(1, 0.5, 0));
    EXPECT_EQ(Split.OriginalTriangles, (FIndex2i{0, 3}));
    EXPECT_EQ(Mesh.TriangleCount(), 14);
    for (const int32 Half : {Mesh.FindEdge(1, NewVertex), Mesh.FindEdge(NewVertex, 5)})
    {
        EXPECT_TRUE(UVs(Mesh).IsSeamEdge(Half));
        EXPECT_TRUE(Mesh.Attributes()->IsMaterialBoundaryEdge(Half));
    }
    for (const int32 Across : {Split.NewEdges.B, Split.NewEdges.C})
    {
        EXPECT_FALSE(Mesh.Attributes()->IsAttributeBoundaryEdge(Across));
    }
    for (int32 Side = 0; Side < 2; ++Side)
    {
        EXPECT_EQ(UVAt(Mesh, Split.NewTriangles[Side], NewVertex), FVector2f(1.0f, 0.5f));
        EXPECT_EQ(Mesh.Attributes()->GetMaterialID()->GetValue(Split.NewTriangles[Side]), Side == 0 ? 2 : 0);
    }
    EXPECT_EQ(Mesh.Attributes()->GetMorphTargetAttribute("Smile")->GetValue(NewVertex), FVector3f(3, 1, 2));
    const auto Weights = Mesh.Attributes()->GetSkinWeightsAttribute()->GetValue(NewVertex);
    ASSERT_EQ(Weights.size(), 2u); // four blended influences, the mesh's two heaviest kept
    EXPECT_EQ(Weights[0].BoneIndex, 1);
    EXPECT_EQ(Weights[1].BoneIndex, 5);
    EXPECT_TRUE(HasNormalisedWeights(Mesh, NAME_None));
    EXPECT_TRUE(HasNormalisedWeights(Mesh, "Cloth"));
}

TEST(DynamicMeshEdgeEdits, FlipTurnsTheEdgeAndKeepsEachCornersValues)
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(3, 2);
    FEdgeFlipInfo Flip;
    ASSERT_EQ(Mesh.FlipEdge(Mesh.FindEdge(1, 6), Flip), EMeshResult::Ok);
    EXPECT_TRUE(IsValidMesh(Mesh));
    EXPECT_EQ(Mesh.FindEdge(1, 6), FDynamicMesh3::InvalidID);
    EXPECT_EQ(Mesh.FindEdge(2, 5), Flip.EdgeID);
    for (const int32 TriangleID : {Flip.Triangles.A, Flip.Triangles.B})
    {
        const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
        EXPECT_EQ(Mesh.GetTriNormal(TriangleID), FVector(0, 0, 1));
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            const FVector Position = Mesh.GetVertex(Tri[Corner]);
            EXPECT_EQ(UVAt(Mesh, TriangleID, Tri[Corner]), FVector2f(Position.X, Position.Y));
        }
    }
}

TEST(DynamicMeshEdgeEdits, RefusedEditsChangeNothing)
{
    struct FCase
    {
        const char* Name;
        FDynamicMesh3 Mesh;
        FIndex2i Vertices;
        bool bFlip;
        EMeshResult Expected;
    };
    FCase Cases[] = {
        {"flip on a boundary", MakeAttributedGridMesh(3, 2), {0, 1}, true, EMeshResult::Failed_IsBoundaryEdge},
        {"flip across a seam", MakeAttributedGridMesh(3, 2), {1, 5}, true, EMeshResult::Failed_IsAttributeBoundary},
        {"flip onto an edge", MakeTetrahedron(), {0, 1}, true, EMeshResult::Failed_FlippedEdgeExists},
        {"collapse of a tetrahedron", MakeTetrahedron(), {0, 1}, false, EMeshResult::Failed_CollapseDegenerate},
        {"collapse pinching two boundaries", MakeGridMesh(3, 1), {0, 5}, false,
         EMeshResult::Failed_InvalidNeighbourhood},
        {"collapse of a lone triangle", MakeLoneTriangle(), {0, 1}, false, EMeshResult::Failed_CollapseDegenerate},
    };
    for (FCase& Case : Cases)
    {
        SCOPED_TRACE(Case.Name);
        const FDynamicMesh3 Before = Case.Mesh;
        FEdgeFlipInfo Flip;
        FEdgeCollapseInfo Collapse;
        const EMeshResult Result = Case.bFlip
                                       ? Case.Mesh.FlipEdge(Case.Mesh.FindEdge(Case.Vertices.A, Case.Vertices.B), Flip)
                                       : Case.Mesh.CollapseEdge(Case.Vertices.A, Case.Vertices.B, Collapse);
        EXPECT_EQ(Result, Case.Expected);
        EXPECT_TRUE(IsSameMesh(Case.Mesh, Before));
    }
}

TEST(DynamicMeshEdgeEdits, CollapseBlendsIntoTheKeptVertexAndKeepsTheSeamThere)
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(3, 2);
    FEdgeCollapseInfo Collapse;
    ASSERT_EQ(Mesh.CollapseEdge(5, 6, Collapse, 0.5), EMeshResult::Ok);
    EXPECT_TRUE(IsValidMesh(Mesh));
    EXPECT_FALSE(Mesh.IsVertex(6));
    EXPECT_EQ(Collapse.OpposingVertices, (FIndex2i{1, 10}));
    EXPECT_EQ(Mesh.GetVertex(5), FVector(1.5, 1, 0));
    EXPECT_EQ(Mesh.Attributes()->GetMorphTargetAttribute("Smile")->GetValue(5), FVector3f(5.5f, 1, 2));
    // Column 0 keeps its own UVs at vertex 5; the other island's element there took the blend.
    for (const int32 TriangleID : SortedVtxTriangles(Mesh, 5))
    {
        const bool bColumn0 = TriangleID / 2 % 3 == 0;
        EXPECT_EQ(UVAt(Mesh, TriangleID, 5), bColumn0 ? FVector2f(1, 1) : FVector2f(1.5f, 1));
    }
    EXPECT_TRUE(UVs(Mesh).IsSeamEdge(Mesh.FindEdge(1, 5)));
    EXPECT_TRUE(HasNormalisedWeights(Mesh, NAME_None));
}

// Thousands of random splits, flips and collapses on a seamed, skinned and morphed mesh: the mesh and all
// its attributes stay valid after every edit, weights stay normalised and a split seam stays a seam.
TEST(DynamicMeshEdgeEdits, RandomEditSequencesKeepTheMeshValid)
{
    for (const uint32 Seed : {1u, 2u, 3u})
    {
        SCOPED_TRACE(Seed);
        FDynamicMesh3 Mesh = MakeAttributedGridMesh(6, 6);
        std::mt19937 Random(Seed);
        int32 Done = 0;
        for (int32 Step = 0; Step < 1500; ++Step)
        {
            const TArray<int32> Edges = Collect(Mesh.EdgeIndices());
            const int32 EdgeID = Edges[static_cast<int32>(Random() % static_cast<uint32>(Edges.Num()))];
            const FIndex2i Ends = Mesh.GetEdgeV(EdgeID);
            const double T = static_cast<double>(Random() % 5) / 4.0;
            EMeshResult Result = EMeshResult::Ok;
            switch (Random() % 3)
            {
            case 0:
            {
                const bool bSeam = UVs(Mesh).IsSeamEdge(EdgeID);
                FEdgeSplitInfo Split;
                Result = Mesh.SplitEdge(EdgeID, Split, 0.25 + T / 2.0);
                ASSERT_EQ(UVs(Mesh).IsSeamEdge(EdgeID), bSeam);
                ASSERT_EQ(UVs(Mesh).IsSeamEdge(Split.NewEdges.A), bSeam);
                break;
            }
            case 1:
            {
                FEdgeFlipInfo Flip;
                Result = Mesh.FlipEdge(EdgeID, Flip);
                break;
            }
            default:
            {
                FEdgeCollapseInfo Collapse;
                Result = Random() % 2 ? Mesh.CollapseEdge(Ends.A, Ends.B, Collapse, T)
                                      : Mesh.CollapseEdge(Ends.B, Ends.A, Collapse, T);
            }
            }
            Done += Result == EMeshResult::Ok ? 1 : 0;
            ASSERT_TRUE(IsValidMesh(Mesh)) << "step " << Step;
            ASSERT_TRUE(HasNormalisedWeights(Mesh, NAME_None)) << "step " << Step;
            ASSERT_TRUE(HasNormalisedWeights(Mesh, "Cloth")) << "step " << Step;
        }
        EXPECT_GT(Done, 500);
    }
}
