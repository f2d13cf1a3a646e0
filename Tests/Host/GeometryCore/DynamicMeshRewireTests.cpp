#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"

#include "MeshComparison.h"
#include "MeshTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
/** The vertices have the same weights in the profile. */
bool HaveSameWeights(const FDynamicMeshAttributeSet& Attributes, FName Profile, int32 VertexA, int32 VertexB)
{
    const FDynamicMeshVertexSkinWeightsAttribute& Skin = *Attributes.GetSkinWeightsAttribute(Profile);
    return !Skin.GetValue(VertexA).empty() &&
           std::ranges::equal(Skin.GetValue(VertexA), Skin.GetValue(VertexB));
}
} // namespace

// What reversing and splitting do to the topology, and that each corner keeps its UV, is checked edit by
// edit against a brute-force mesh in DynamicMeshRandomEditTests; these tests check the other attributes,
// element ownership, edge order and refusals.

TEST(DynamicMeshRewire, ReversingKeepsEachCornerItsElement)
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(2, 2);
    Mesh.EnableTriangleGroups(3);
    const FDynamicMeshAttributeSet& Attributes = *Mesh.Attributes();
    const FDynamicMeshUVOverlay& UVs = *Attributes.GetUVLayer(0);
    const FIndex3i Elements = UVs.GetTriangle(0);
    ASSERT_TRUE(Mesh.ReverseTriOrientation(0));
    EXPECT_EQ(UVs.GetTriangle(0), (FIndex3i{Elements.A, Elements.C, Elements.B}));
    EXPECT_EQ(Attributes.GetMaterialID()->GetValue(0), 2);
    EXPECT_EQ(Mesh.GetTriangleGroup(0), 3);
    EXPECT_FALSE(UVs.IsSeamEdge(Mesh.FindEdge(0, 4))) << "triangles 0 and 1 still share both elements";
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(DynamicMeshRewire, ReversingIntoAnExistingTriangleIsRefused)
{
    FDynamicMesh3 Mesh;
    for (int32 Index = 0; Index < 3; ++Index)
    {
        Mesh.AppendVertex(FVector(Index, Index * Index, 0.0));
    }
    Mesh.AppendTriangle({0, 1, 2});
    Mesh.AppendTriangle({0, 2, 1});
    Mesh.EnableAttributes();
    SetSharedElements(*Mesh.Attributes()->PrimaryNormals(), Mesh, FVector3f(0.0f, 0.0f, 1.0f));
    const FDynamicMesh3 Before = Mesh;

    for (const int32 TriangleID : {0, 1, 2, -1})
    {
        EXPECT_FALSE(Mesh.CanReverseTriOrientation(TriangleID)) << "triangle " << TriangleID;
        EXPECT_FALSE(Mesh.ReverseTriOrientation(TriangleID)) << "triangle " << TriangleID;
    }
    EXPECT_TRUE(IsSameMesh(Mesh, Before));

    Mesh.RemoveTriangle(1);
    EXPECT_TRUE(Mesh.ReverseTriOrientation(0)) << "its reverse is gone";
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(DynamicMeshRewire, SplittingMovesWholeEdgesAcrossTheirEnds)
{
    // Triangles 0 (0, 1, 4) and 3 (1, 5, 4) move off vertex 1: edge 1-4 becomes 4-6, so vertex 4 goes from
    // its second end to its first; the boundary edge 0-1 becomes 0-6 and keeps vertex 0 first.
    FDynamicMesh3 Mesh = MakeGridMesh(2, 1);
    const int32 MovedEdge = Mesh.FindEdge(1, 4);
    const TArray<int32> EdgesOfVertex0 = Collect(Mesh.VtxEdges(0));
    ASSERT_EQ(Mesh.SplitVertex(1, {0, 3}), 6);
    EXPECT_EQ(Mesh.GetEdgeV(MovedEdge), (FIndex2i{4, 6}));
    EXPECT_EQ(Mesh.GetEdgeT(MovedEdge), (FIndex2i{0, 3}));
    EXPECT_EQ(Collect(Mesh.VtxEdges(0)), EdgesOfVertex0) << "same edges in the same order";
    EXPECT_EQ(SortedVtxTriangles(Mesh, 1), (TArray<int32>{2}));
    EXPECT_EQ(Mesh.EdgeCount(), 10) << "only 1-5 is split";
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(DynamicMeshRewire, SplittingCopiesEveryVertexAttribute)
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(2, 2);
    const FDynamicMeshAttributeSet& Attributes = *Mesh.Attributes();
    const FDynamicMeshUVOverlay& UVs = *Attributes.GetUVLayer(0);
    const FDynamicMeshNormalOverlay& Normals = *Attributes.PrimaryNormals();
    const int32 LeftUV = UVs.GetElementAtVertex(0, 4);
    const int32 RightUV = UVs.GetElementAtVertex(3, 4);
    const int32 SharedNormal = Normals.GetElementAtVertex(0, 4);
    const int32 NumUVs = UVs.ElementCount();
    const int32 NumNormals = Normals.ElementCount();

    const int32 NewVertex = Mesh.SplitVertex(4, {0, 1, 4});
    ASSERT_NE(NewVertex, FDynamicMesh3::InvalidID);
    EXPECT_TRUE(HaveSameWeights(Attributes, NAME_None, NewVertex, 4));
    EXPECT_TRUE(HaveSameWeights(Attributes, "Cloth", NewVertex, 4));
    EXPECT_EQ(Attributes.GetMorphTargetAttribute("Smile")->GetValue(NewVertex), FVector3f(4.0f, 1.0f, 2.0f));
    EXPECT_EQ(Attributes.GetMaterialID()->GetValue(0), 2) << "triangle attributes stay with the IDs";

    // Only the moved triangles used the left island's element: it goes along with them.
    EXPECT_EQ(UVs.ElementCount(), NumUVs);
    EXPECT_EQ(UVs.GetElementAtVertex(4, NewVertex), LeftUV);
    EXPECT_EQ(UVs.GetParentVertex(LeftUV), NewVertex);
    EXPECT_EQ(UVs.GetParentVertex(RightUV), 4);

    // Every triangle used the normal: the moved ones get a copy of it.
    EXPECT_EQ(Normals.ElementCount(), NumNormals + 1);
    const int32 CopiedNormal = Normals.GetElementAtVertex(1, NewVertex);
    EXPECT_NE(CopiedNormal, SharedNormal);
    EXPECT_EQ(Normals.GetElementAtVertex(0, NewVertex), CopiedNormal);
    EXPECT_EQ(Normals.GetElement(CopiedNormal), Normals.GetElement(SharedNormal));
    EXPECT_EQ(Normals.GetParentVertex(CopiedNormal), NewVertex);
    EXPECT_EQ(Normals.GetElementAtVertex(6, 4), SharedNormal);
    EXPECT_EQ(Attributes.PrimaryTangents()->ElementCount(), NumNormals + 1);
    EXPECT_EQ(Attributes.PrimaryColors()->ElementCount(), NumNormals + 1);
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(DynamicMeshRewire, RefusedSplitsChangeNothing)
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(2, 2);
    const int32 Isolated = Mesh.AppendVertex(FVector(5.0, 5.0, 0.0));
    const FDynamicMesh3 Before = Mesh;
    const struct
    {
        int32 VertexID;
        TArray<int32> Triangles;
        const char* Why;
    } Refused[] = {
        {99, {0}, "not a vertex"},
        {-1, {0}, "not a vertex"},
        {4, {}, "nothing to move"},
        {Isolated, {}, "nothing to move"},
        {4, {0, 2}, "triangle 2 lacks the vertex"},
        {4, {0, 42}, "not a triangle"},
        {4, {0, -1}, "not a triangle"},
        {4, {0, 1, 0}, "triangle 0 twice"},
        {4, {7, 6, 4, 3, 1, 0}, "every triangle of the vertex"},
        {0, {0, 1}, "every triangle of a corner vertex"},
    };
    for (const auto& Case : Refused)
    {
        EXPECT_EQ(Mesh.SplitVertex(Case.VertexID, Case.Triangles), FDynamicMesh3::InvalidID) << Case.Why;
        EXPECT_TRUE(IsSameMesh(Mesh, Before)) << Case.Why;
    }
    EXPECT_EQ(Mesh.SplitVertex(4, {7, 6}), Isolated + 1) << "the refusals used up no vertex ID";
    EXPECT_TRUE(IsValidMesh(Mesh));
}
