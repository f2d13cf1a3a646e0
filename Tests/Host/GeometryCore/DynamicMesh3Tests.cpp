#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"

#include "MeshComparison.h"
#include "MeshTestUtil.h"

#include <gtest/gtest.h>

// Appending and removing triangles, refusals, the reuse of freed IDs, copies, moves and clearing are checked
// edit by edit against a brute-force mesh in DynamicMeshRandomEditTests; copies with attributes in
// DynamicMeshAttributeSetTests.

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
