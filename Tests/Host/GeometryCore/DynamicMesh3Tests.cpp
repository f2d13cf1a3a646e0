#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"

#include "MeshComparison.h"
#include "MeshTestUtil.h"

#include <gtest/gtest.h>

TEST(DynamicMesh3, RemovingATriangleRemovesWhatOnlyItUsed)
{
    FDynamicMesh3 Mesh = MakeGridMesh(1, 1);
    EXPECT_TRUE(Mesh.RemoveTriangle(1));
    EXPECT_FALSE(Mesh.RemoveTriangle(1)) << "already gone";
    EXPECT_EQ(Mesh.EdgeCount(), 3);
    EXPECT_FALSE(Mesh.IsVertex(2)) << "vertex 2 was only in triangle 1";
    EXPECT_TRUE(Mesh.IsBoundaryEdge(Mesh.FindEdge(0, 3)));
    EXPECT_TRUE(IsValidMesh(Mesh));

    FDynamicMesh3 KeepVertices = MakeGridMesh(1, 1);
    KeepVertices.RemoveTriangle(1, false);
    KeepVertices.RemoveTriangle(0, false);
    EXPECT_EQ(KeepVertices.VertexCount(), 4);
    EXPECT_EQ(KeepVertices.EdgeCount(), 0);
    EXPECT_EQ(KeepVertices.GetVtxEdgeCount(0), 0);
    EXPECT_TRUE(IsValidMesh(KeepVertices));
}

TEST(DynamicMesh3, FreedIDsAreReusedAndSkippedWhileFree)
{
    FDynamicMesh3 Mesh = MakeGridMesh(2, 1);
    Mesh.RemoveTriangle(0, false);
    Mesh.RemoveTriangle(2, false);
    EXPECT_EQ(Collect(Mesh.TriangleIndices()), (TArray<int32>{1, 3}));
    EXPECT_EQ(Mesh.MaxTriangleID(), 4);
    EXPECT_EQ(Mesh.TriangleCount(), 2);
    const int32 EdgeIDsBefore = Mesh.MaxEdgeID();

    EXPECT_EQ(Mesh.AppendTriangle({0, 1, 4}), 2) << "the most recently freed ID";
    EXPECT_EQ(Mesh.MaxTriangleID(), 4);
    EXPECT_EQ(Mesh.MaxEdgeID(), EdgeIDsBefore) << "the new edge 0-1 takes a freed edge ID";
    EXPECT_TRUE(IsValidMesh(Mesh));

    FDynamicMesh3 Fan = MakeGridMesh(1, 1);
    Fan.RemoveTriangle(1);
    EXPECT_EQ(Collect(Fan.VertexIndices()), (TArray<int32>{0, 1, 3}));
    EXPECT_EQ(Fan.AppendVertex(FVector(5.0, 5.0, 5.0)), 2);
    EXPECT_EQ(Fan.GetVertex(2), FVector(5.0, 5.0, 5.0));
    EXPECT_EQ(Fan.MaxVertexID(), 4);
}

TEST(DynamicMesh3, RefusedTrianglesChangeNothing)
{
    FDynamicMesh3 Mesh = MakeGridMesh(1, 1);
    const int32 Apex = Mesh.AppendVertex(FVector(0.5, 0.5, 1.0));
    const FDynamicMesh3 Before = Mesh;

    EXPECT_EQ(Mesh.AppendTriangle({0, 3, Apex}), FDynamicMesh3::NonManifoldID) << "third triangle on 0-3";
    EXPECT_EQ(Mesh.AppendTriangle({1, 3, 0}), FDynamicMesh3::DuplicateTriangleID) << "rotation of triangle 0";
    EXPECT_EQ(Mesh.AppendTriangle({0, 1, 0}), FDynamicMesh3::InvalidTriangleVerticesID);
    EXPECT_EQ(Mesh.AppendTriangle({0, 1, 99}), FDynamicMesh3::InvalidTriangleVerticesID);
    EXPECT_EQ(Mesh.AppendTriangle({-1, 1, Apex}), FDynamicMesh3::InvalidTriangleVerticesID);
    EXPECT_EQ(Mesh.TriangleCount(), Before.TriangleCount());
    EXPECT_EQ(Mesh.EdgeCount(), Before.EdgeCount());
    EXPECT_EQ(Mesh.MaxEdgeID(), Before.MaxEdgeID());
    EXPECT_EQ(Mesh.GetVtxEdgeCount(Apex), 0);
    EXPECT_TRUE(IsValidMesh(Mesh));

    EXPECT_EQ(Mesh.AppendTriangle({0, 1, Apex}), 2) << "refusals used up no ID";
    FDynamicMesh3 Single;
    for (int32 Index = 0; Index < 3; ++Index)
    {
        Single.AppendVertex(FVector(Index, Index * Index, 0.0));
    }
    Single.AppendTriangle({0, 1, 2});
    EXPECT_EQ(Single.AppendTriangle({0, 2, 1}), 1) << "the reverse orientation is another triangle";
    EXPECT_FALSE(Single.IsBoundaryEdge(Single.FindEdge(0, 1)));
    EXPECT_EQ(Single.AppendTriangle({2, 1, 0}), FDynamicMesh3::DuplicateTriangleID);
    EXPECT_TRUE(IsValidMesh(Single));
}

TEST(DynamicMesh3, CopiesAreDeepAndMovesLeaveAnEmptyMesh)
{
    FDynamicMesh3 Original = MakeGridMesh(2, 2);
    FDynamicMesh3 Copy = Original;
    Copy.RemoveTriangle(3);
    Copy.SetVertex(0, FVector(-1.0, -1.0, -1.0));
    Copy.AppendVertex(FVector::ZeroVector);
    EXPECT_TRUE(IsSameMesh(Original, MakeGridMesh(2, 2)));

    FDynamicMesh3 Moved = std::move(Copy);
    EXPECT_EQ(Moved.TriangleCount(), 7);
    EXPECT_EQ(Copy.TriangleCount(), 0);
    EXPECT_EQ(Copy.MaxVertexID(), 0);
    EXPECT_TRUE(IsValidMesh(Copy));
    EXPECT_TRUE(IsValidMesh(Moved));
    Original = Moved;
    EXPECT_TRUE(IsSameMesh(Original, Moved));
    Original.Clear();
    EXPECT_EQ(Original.MaxTriangleID(), 0);
    EXPECT_TRUE(IsValidMesh(Original));
}

TEST(DynamicMesh3, TriangleGroups)
{
    FDynamicMesh3 Mesh = MakeGridMesh(1, 1);
    EXPECT_EQ(Mesh.GetTriangleGroup(0), 0);
    Mesh.EnableTriangleGroups(3);
    EXPECT_EQ(Mesh.GetTriangleGroup(1), 3);
    EXPECT_EQ(Mesh.MaxGroupID(), 4);
    Mesh.SetTriangleGroup(1, 9);
    Mesh.RemoveTriangle(0, false);
    const int32 Added = Mesh.AppendTriangle({0, 1, 3}, 5);
    EXPECT_EQ(Mesh.GetTriangleGroup(Added), 5);
    EXPECT_EQ(Mesh.MaxGroupID(), 10);
    const FDynamicMesh3 Copy = Mesh;
    EXPECT_EQ(Copy.GetTriangleGroup(1), 9);
    EXPECT_TRUE(IsValidMesh(Copy));
}

TEST(DynamicMesh3, LargeGridStaysValidThroughEdits)
{
    FDynamicMesh3 Mesh = MakeGridMesh(200, 200);
    EXPECT_EQ(Mesh.VertexCount(), 201 * 201);
    EXPECT_EQ(Mesh.TriangleCount(), 80000);
    EXPECT_EQ(Mesh.EdgeCount(), 2 * 200 * 201 + 200 * 200);
    Mesh.EnableAttributes();
    SetUVIsland(*Mesh.Attributes()->GetUVLayer(0), Mesh, Collect(Mesh.TriangleIndices()));
    for (int32 TriangleID = 0; TriangleID < Mesh.MaxTriangleID(); TriangleID += 2)
    {
        Mesh.RemoveTriangle(TriangleID, false);
    }
    EXPECT_EQ(Mesh.TriangleCount(), 40000);
    EXPECT_TRUE(IsValidMesh(Mesh));
    const FDynamicMesh3 Full = MakeGridMesh(200, 200);
    for (int32 TriangleID = 0; TriangleID < Full.MaxTriangleID(); TriangleID += 2)
    {
        EXPECT_GE(Mesh.AppendTriangle(Full.GetTriangle(TriangleID)), 0);
    }
    EXPECT_EQ(Mesh.MaxTriangleID(), 80000);
    EXPECT_EQ(Mesh.EdgeCount(), Full.EdgeCount());
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(DynamicMesh3DeathTest, ReadingARemovedElementStops)
{
    FDynamicMesh3 Mesh = MakeGridMesh(1, 1);
    Mesh.RemoveTriangle(0, false);
    EXPECT_DEATH((void)Mesh.GetTriangle(0), "not a triangle");
    EXPECT_DEATH(Mesh.SetVertex(7, FVector::ZeroVector), "not a vertex");
}

TEST(DynamicMesh3, AWideFanFindsEveryEdgeFromEitherEnd)
{
    // Triangles (hub, i, i + 1) around one hub: the hub has thousands of edges, each rim vertex a few.
    constexpr int32 NumRim = 4000;
    FDynamicMesh3 Mesh;
    const int32 Hub = Mesh.AppendVertex(FVector::ZeroVector);
    for (int32 Index = 0; Index < NumRim; ++Index)
    {
        Mesh.AppendVertex(FVector(Index, 1.0, 0.0));
    }
    for (int32 Rim = 1; Rim < NumRim; ++Rim)
    {
        ASSERT_GE(Mesh.AppendTriangle({Hub, Rim, Rim + 1}), 0);
    }
    EXPECT_EQ(Mesh.AppendTriangle({Hub, NumRim, 1}), NumRim - 1) << "closing the fan";
    EXPECT_EQ(Mesh.GetVtxEdgeCount(Hub), NumRim);
    EXPECT_FALSE(Mesh.IsBoundaryVertex(Hub));
    for (int32 Rim = 1; Rim <= NumRim; ++Rim)
    {
        const int32 Spoke = Mesh.FindEdge(Hub, Rim);
        ASSERT_NE(Spoke, FDynamicMesh3::InvalidID);
        EXPECT_EQ(Mesh.FindEdge(Rim, Hub), Spoke);
        EXPECT_EQ(Mesh.GetEdgeV(Spoke), (FIndex2i{Hub, Rim}));
        EXPECT_FALSE(Mesh.IsBoundaryEdge(Spoke));
    }
    EXPECT_EQ(Mesh.FindEdge(1, 3), FDynamicMesh3::InvalidID);
    EXPECT_EQ(Mesh.FindEdge(Hub, NumRim + 1), FDynamicMesh3::InvalidID) << "not a vertex";
    EXPECT_EQ(Mesh.AppendTriangle({Hub, 2, 1}), FDynamicMesh3::NonManifoldID);
    EXPECT_TRUE(IsValidMesh(Mesh));
}
