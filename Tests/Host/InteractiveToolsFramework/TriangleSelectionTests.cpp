#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/Selections/TriangleSelectionOps.h"

#include <gtest/gtest.h>

namespace
{
/**
 * A strip of three quads and a lone triangle:
 *
 *   4---5---6---7
 *   | 1/| 3/| 5/|      8
 *   | /0| /2| /4|      |\ 6
 *   0---1---2---3      9-10
 */
FDynamicMesh3 MakeStripAndIsland()
{
    FDynamicMesh3 Mesh;
    for (int32 Row = 0; Row < 2; ++Row)
    {
        for (int32 Column = 0; Column < 4; ++Column)
        {
            Mesh.AppendVertex(FVector(Column, Row, 0.0));
        }
    }
    for (int32 Quad = 0; Quad < 3; ++Quad)
    {
        Mesh.AppendTriangle(FIndex3i{Quad, Quad + 1, Quad + 5});
        Mesh.AppendTriangle(FIndex3i{Quad, Quad + 5, Quad + 4});
    }
    const int32 A = Mesh.AppendVertex(FVector(10.0, 1.0, 0.0));
    const int32 B = Mesh.AppendVertex(FVector(10.0, 0.0, 0.0));
    const int32 C = Mesh.AppendVertex(FVector(11.0, 0.0, 0.0));
    Mesh.AppendTriangle(FIndex3i{A, B, C});
    return Mesh;
}

TArray<int32> Ids(std::initializer_list<int32> Values)
{
    TArray<int32> Result;
    Result.Append(Values);
    return Result;
}
} // namespace

TEST(TriangleSelectionOpsTest, SelectAllAndInvertCoverTheLiveTriangles)
{
    FDynamicMesh3 Mesh = MakeStripAndIsland();
    Mesh.RemoveTriangle(4);

    EXPECT_EQ(TriangleSelectionOps::SelectAll(Mesh), Ids({0, 1, 2, 3, 5, 6}));
    EXPECT_EQ(TriangleSelectionOps::Invert(Mesh, Ids({1, 3, 4, 3})), Ids({0, 2, 5, 6}));
    EXPECT_EQ(TriangleSelectionOps::Invert(Mesh, {}), Ids({0, 1, 2, 3, 5, 6}));
}

TEST(TriangleSelectionOpsTest, GrowAddsNeighboursAfterTheKeptOnesShrinkDropsTheBorderExpandFollowsEdges)
{
    const FDynamicMesh3 Mesh = MakeStripAndIsland();
    EXPECT_EQ(TriangleSelectionOps::Grow(Mesh, Ids({3, 3, 99, -1})), Ids({3, 0, 1, 2, 5}));
    EXPECT_EQ(TriangleSelectionOps::Grow(Mesh, Ids({6})), Ids({6}));
    EXPECT_TRUE(TriangleSelectionOps::Grow(Mesh, {}).IsEmpty());
    EXPECT_EQ(TriangleSelectionOps::Shrink(Mesh, Ids({1, 0, 2, 3})), Ids({1, 0}));
    EXPECT_EQ(TriangleSelectionOps::Shrink(Mesh, Ids({6})), Ids({6}));
    EXPECT_TRUE(TriangleSelectionOps::Shrink(Mesh, Ids({0})).IsEmpty());
    EXPECT_EQ(TriangleSelectionOps::ExpandToConnected(Mesh, Ids({5})), Ids({5, 0, 1, 2, 3, 4}));
    EXPECT_EQ(TriangleSelectionOps::ExpandToConnected(Mesh, Ids({6})), Ids({6}));
}
