#include "GeometryCore/Selections/MeshSelectionEdits.h"

#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "MeshComparison.h"
#include "MeshTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace
{
/** The two triangles of each quad (x, y) of a grid QuadsX quads wide. */
TArray<int32> QuadTriangles(int32 QuadsX, std::initializer_list<FIndex2i> Quads)
{
    TArray<int32> Triangles;
    for (const FIndex2i& Quad : Quads)
    {
        const int32 First = 2 * (Quad.B * QuadsX + Quad.A);
        Triangles.Append({First, First + 1});
    }
    return Triangles;
}

/** The ID a grid QuadsX quads wide gave the vertex now at Position, which no edit here moves. */
int32 OriginalGridVertex(int32 QuadsX, const FVector& Position)
{
    return GridVertex(QuadsX, static_cast<int32>(Position.X), static_cast<int32>(Position.Y));
}

/** True when no vertex has both a triangle of Selection and one outside it. */
bool IsOwnPiece(const FDynamicMesh3& Mesh, const TArray<int32>& Selection)
{
    for (const int32 VertexID : Mesh.VertexIndices())
    {
        const TArray<int32> Around = SortedVtxTriangles(Mesh, VertexID);
        const int32 NumSelected = static_cast<int32>(
            std::count_if(Around.begin(), Around.end(), [&](int32 ID) { return Selection.Contains(ID); }));
        if (NumSelected != 0 && NumSelected != Around.Num())
        {
            return false;
        }
    }
    return true;
}

/** The triangle's normal-overlay value at each corner equals Expected. */
bool HasCornerNormals(const FDynamicMesh3& Mesh, int32 TriangleID, const FVector3f& Expected)
{
    const FDynamicMeshNormalOverlay& Normals = *Mesh.Attributes()->PrimaryNormals();
    const FIndex3i Elements = Normals.GetTriangle(TriangleID);
    return Normals.GetElement(Elements.A) == Expected && Normals.GetElement(Elements.B) == Expected &&
           Normals.GetElement(Elements.C) == Expected;
}

/** The grid 4 quads wide with columns 0 and 1 selected, and quad (2, 1) bulging out of them. */
struct FBulgingSelection
{
    FDynamicMesh3 Mesh = MakeGridMesh(4, 4);
    TArray<int32> Selection =
        QuadTriangles(4, {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {2, 1}});

    FVector At(int32 X, int32 Y) const { return Mesh.GetVertex(GridVertex(4, X, Y)); }
};
} // namespace

TEST(MeshSelectionEdits, EmptyOrDeadSelectionsChangeNothing)
{
    FDynamicMesh3 Original = MakeAttributedGridMesh(2, 2);
    Original.RemoveTriangle(5, false);
    for (const TArray<int32>& Selection : {TArray<int32>{}, TArray<int32>{-1, 99, 5, 5}})
    {
        SCOPED_TRACE(testing::Message() << Selection.Num() << " IDs selected");
        FDynamicMesh3 Mesh = Original;
        EXPECT_EQ(DeleteSelectedTriangles(Mesh, Selection), 0);
        EXPECT_EQ(DisconnectSelectedTriangles(Mesh, Selection), 0);
        EXPECT_EQ(FlipSelectedTriangleNormals(Mesh, Selection), 0);
        EXPECT_EQ(CreatePolygroupForSelection(Mesh, Selection), -1);
        EXPECT_EQ(SmoothSelectionBorder(Mesh, Selection), 0);
        EXPECT_TRUE(IsSameMesh(Mesh, Original));
        EXPECT_FALSE(Mesh.HasTriangleGroups());
    }
}

TEST(MeshSelectionEdits, DeletingRemovesTheSelectionAndTheVerticesItAloneUsed)
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(2, 2);
    EXPECT_EQ(DeleteSelectedTriangles(Mesh, {0, 1, 0, 99, -1}), 2);
    EXPECT_FALSE(Mesh.IsTriangle(0));
    EXPECT_FALSE(Mesh.IsTriangle(1));
    EXPECT_EQ(Mesh.TriangleCount(), 6);
    EXPECT_FALSE(Mesh.IsVertex(0)) << "only triangles 0 and 1 used it";
    EXPECT_EQ(Mesh.VertexCount(), 8);
    EXPECT_TRUE(IsValidMesh(Mesh));
    EXPECT_EQ(DeleteSelectedTriangles(Mesh, {0, 1}), 0) << "already gone";

    EXPECT_EQ(DeleteSelectedTriangles(Mesh, Collect(Mesh.TriangleIndices())), 6);
    EXPECT_EQ(Mesh.VertexCount(), 0);
    EXPECT_EQ(Mesh.EdgeCount(), 0);
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(MeshSelectionEdits, DisconnectingMakesTheSelectionItsOwnPieceSplittingOnlyWhereItMeetsTheRest)
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(3, 3);
    const FDynamicMesh3 Before = Mesh;
    const TArray<int32> Centre = QuadTriangles(3, {{1, 1}});
    EXPECT_EQ(DisconnectSelectedTriangles(Mesh, Centre), 4);
    EXPECT_EQ(Mesh.VertexCount(), 20);
    EXPECT_EQ(Mesh.EdgeCount(), 33 + 4) << "each side of the selection border has its own edge";
    EXPECT_TRUE(IsOwnPiece(Mesh, Centre));
    const FDynamicMeshAttributeSet& Attributes = *Mesh.Attributes();
    for (const int32 TriangleID : Centre)
    {
        const FIndex3i Corners = Mesh.GetTriangle(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            const int32 Copied = Corners[Corner];
            const int32 Source = OriginalGridVertex(3, Mesh.GetVertex(Copied));
            EXPECT_GE(Copied, 16) << "a new vertex";
            EXPECT_TRUE(std::ranges::equal(Attributes.GetSkinWeightsAttribute()->GetValue(Copied),
                                           Before.Attributes()->GetSkinWeightsAttribute()->GetValue(Source)));
            EXPECT_EQ(Attributes.GetMorphTargetAttribute("Smile")->GetValue(Copied),
                      Before.Attributes()->GetMorphTargetAttribute("Smile")->GetValue(Source));
        }
    }
    EXPECT_TRUE(IsValidMesh(Mesh)) << "no overlay element is used across the two pieces";

    FDynamicMesh3 Column = MakeAttributedGridMesh(2, 2);
    const TArray<int32> LeftColumn = QuadTriangles(2, {{0, 0}, {0, 1}});
    EXPECT_EQ(DisconnectSelectedTriangles(Column, LeftColumn), 3) << "the middle column of vertices";
    EXPECT_TRUE(IsOwnPiece(Column, LeftColumn));
    EXPECT_TRUE(IsValidMesh(Column));

    // Two selected quads touching at the centre: one copy of the centre carries both.
    FDynamicMesh3 Diagonal = MakeGridMesh(2, 2);
    const TArray<int32> Corners = QuadTriangles(2, {{0, 0}, {1, 1}});
    EXPECT_EQ(DisconnectSelectedTriangles(Diagonal, Corners), 5);
    EXPECT_TRUE(IsOwnPiece(Diagonal, Corners));
    EXPECT_EQ(SortedVtxTriangles(Diagonal, Diagonal.GetTriangle(0).C), (TArray<int32>{0, 1, 6, 7}));
    EXPECT_TRUE(IsValidMesh(Diagonal));

    FDynamicMesh3 Whole = MakeAttributedGridMesh(2, 2);
    const FDynamicMesh3 WholeBefore = Whole;
    EXPECT_EQ(DisconnectSelectedTriangles(Whole, Collect(Whole.TriangleIndices())), 0);
    EXPECT_TRUE(IsSameMesh(Whole, WholeBefore));
}

TEST(MeshSelectionEdits, FlippingTurnsTheSelectionAndHardensItsBorder)
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(2, 2);
    const FDynamicMesh3 Before = Mesh;
    const TArray<int32> LeftColumn = QuadTriangles(2, {{0, 0}, {0, 1}});
    EXPECT_EQ(FlipSelectedTriangleNormals(Mesh, LeftColumn), 4);

    const FDynamicMeshAttributeSet& Attributes = *Mesh.Attributes();
    const FDynamicMeshTangentOverlay& Tangents = *Attributes.PrimaryTangents();
    for (const int32 TriangleID : Mesh.TriangleIndices())
    {
        const bool bSelected = LeftColumn.Contains(TriangleID);
        const float Facing = bSelected ? -1.0f : 1.0f;
        EXPECT_EQ(Mesh.GetTriNormal(TriangleID), FVector(0.0, 0.0, Facing)) << TriangleID;
        EXPECT_TRUE(HasCornerNormals(Mesh, TriangleID, FVector3f(0.0f, 0.0f, Facing))) << TriangleID;
        EXPECT_EQ(Tangents.GetElement(Tangents.GetTriangle(TriangleID).A),
                  FVector4f(1.0f, 0.0f, 0.0f, Facing))
            << "the tangent stays, the bitangent sign turns, in triangle " << TriangleID;
    }
    // Vertices 1, 4 and 7 on the border get a second normal and tangent; the UVs stay as they were.
    EXPECT_EQ(Attributes.PrimaryNormals()->ElementCount(), 12);
    EXPECT_EQ(Tangents.ElementCount(), 12);
    EXPECT_EQ(Attributes.PrimaryColors()->ElementCount(), 9);
    EXPECT_EQ(Attributes.GetUVLayer(0)->ElementCount(), Before.Attributes()->GetUVLayer(0)->ElementCount());
    EXPECT_TRUE(Attributes.PrimaryNormals()->IsSeamEdge(Mesh.FindEdge(1, 4)));
    EXPECT_TRUE(Attributes.PrimaryNormals()->IsSeamEdge(Mesh.FindEdge(4, 7)));
    EXPECT_FALSE(Attributes.PrimaryNormals()->IsSeamEdge(Mesh.FindEdge(3, 4))) << "inside the selection";
    EXPECT_TRUE(IsValidMesh(Mesh));

    EXPECT_EQ(FlipSelectedTriangleNormals(Mesh, LeftColumn), 4);
    for (const int32 TriangleID : Mesh.TriangleIndices())
    {
        EXPECT_EQ(Mesh.GetTriangle(TriangleID), Before.GetTriangle(TriangleID));
        EXPECT_TRUE(HasCornerNormals(Mesh, TriangleID, FVector3f(0.0f, 0.0f, 1.0f))) << TriangleID;
    }
    EXPECT_EQ(Attributes.PrimaryNormals()->ElementCount(), 12) << "the hard edge stays";
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(MeshSelectionEdits, FlippingLeavesTrianglesWhoseReverseExists)
{
    // Triangles 0 and 1 are the two faces of one sheet; triangle 2 stands apart.
    FDynamicMesh3 Mesh;
    for (int32 Index = 0; Index < 6; ++Index)
    {
        Mesh.AppendVertex(FVector(Index, Index * Index, 0.0));
    }
    Mesh.AppendTriangle({0, 1, 2});
    Mesh.AppendTriangle({0, 2, 1});
    Mesh.AppendTriangle({3, 4, 5});
    Mesh.EnableAttributes();
    const FDynamicMesh3 Before = Mesh;

    EXPECT_EQ(FlipSelectedTriangleNormals(Mesh, {0, 1}), 0);
    EXPECT_TRUE(IsSameMesh(Mesh, Before));
    EXPECT_EQ(FlipSelectedTriangleNormals(Mesh, {1, 2}), 1) << "unset normals turn with nothing to negate";
    EXPECT_EQ(Mesh.GetTriangle(1), Before.GetTriangle(1));
    EXPECT_EQ(Mesh.GetTriangle(2), (FIndex3i{3, 5, 4}));
    EXPECT_TRUE(IsValidMesh(Mesh));

    Mesh.DiscardAttributes();
    EXPECT_EQ(FlipSelectedTriangleNormals(Mesh, {2}), 1);
    EXPECT_EQ(Mesh.GetTriangle(2), (FIndex3i{3, 4, 5}));
}

TEST(MeshSelectionEdits, ANewPolygroupGoesOneAboveTheHighest)
{
    FDynamicMesh3 Mesh = MakeGridMesh(2, 2);
    EXPECT_EQ(CreatePolygroupForSelection(Mesh, {2, 3, 3, -1}), 1);
    ASSERT_TRUE(Mesh.HasTriangleGroups());
    for (const int32 TriangleID : Mesh.TriangleIndices())
    {
        EXPECT_EQ(Mesh.GetTriangleGroup(TriangleID), TriangleID == 2 || TriangleID == 3 ? 1 : 0);
    }
    EXPECT_EQ(CreatePolygroupForSelection(Mesh, {3}), 2);
    Mesh.SetTriangleGroup(7, 10);
    EXPECT_EQ(CreatePolygroupForSelection(Mesh, {5, 6}), 11);
    EXPECT_EQ(Mesh.GetTriangleGroup(6), 11);
    EXPECT_EQ(Mesh.GetTriangleGroup(2), 1);
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(MeshSelectionEdits, SmoothingPullsTheBorderTowardItsNeighboursAllAtOnceInStepsAndAroundClosedBorders)
{
    FBulgingSelection Bulge;
    const FBulgingSelection Before;
    EXPECT_EQ(SmoothSelectionBorder(Bulge.Mesh, Bulge.Selection, 1), 4);
    // Each from the positions before the iteration: (3, 1) moves toward where (2, 1) was, not where it went.
    EXPECT_EQ(Bulge.At(2, 1), FVector(2.25, 0.75, 0.0));
    EXPECT_EQ(Bulge.At(3, 1), FVector(2.75, 1.25, 0.0));
    EXPECT_EQ(Bulge.At(3, 2), FVector(2.75, 1.75, 0.0));
    EXPECT_EQ(Bulge.At(2, 2), FVector(2.25, 2.25, 0.0));
    EXPECT_EQ(Bulge.At(2, 3), Before.At(2, 3)) << "straight between its neighbours";
    EXPECT_EQ(Bulge.At(2, 0), Before.At(2, 0)) << "the border ends at the mesh boundary";
    EXPECT_EQ(Bulge.At(2, 4), Before.At(2, 4));
    EXPECT_EQ(Bulge.At(1, 1), Before.At(1, 1)) << "inside the selection";

    FBulgingSelection Longer;
    EXPECT_EQ(SmoothSelectionBorder(Longer.Mesh, Longer.Selection), 5) << "(2, 3) follows from iteration 2";
    EXPECT_NE(Longer.At(2, 3), Before.At(2, 3));
    EXPECT_EQ(Longer.At(2, 0), Before.At(2, 0));
    for (const int32 VertexID : Longer.Mesh.VertexIndices())
    {
        EXPECT_EQ(Longer.Mesh.GetVertex(VertexID).Z, 0.0);
    }
    EXPECT_TRUE(IsValidMesh(Longer.Mesh));

    FBulgingSelection Full;
    EXPECT_EQ(SmoothSelectionBorder(Full.Mesh, Full.Selection, 1, 7.0), 4);
    EXPECT_EQ(Full.At(2, 1), FVector(2.5, 0.5, 0.0)) << "a step above 1 is taken as 1";

    for (const auto& [Iterations, Alpha] :
         {std::pair{1, 0.0}, std::pair{1, -2.0}, std::pair{0, 0.5}, std::pair{-3, 0.5}})
    {
        FBulgingSelection Still;
        EXPECT_EQ(SmoothSelectionBorder(Still.Mesh, Still.Selection, Iterations, Alpha), 0)
            << Iterations << " iterations of " << Alpha;
        EXPECT_TRUE(IsSameMesh(Still.Mesh, Before.Mesh));
    }

    FDynamicMesh3 Whole = MakeGridMesh(2, 2);
    EXPECT_EQ(SmoothSelectionBorder(Whole, Collect(Whole.TriangleIndices())), 0)
        << "mesh boundaries are no border";

    // The centre quad's border is a closed loop of four corners, each pulled toward the middle.
    FDynamicMesh3 Loop = MakeGridMesh(3, 3);
    EXPECT_EQ(SmoothSelectionBorder(Loop, QuadTriangles(3, {{1, 1}}), 1), 4);
    EXPECT_EQ(Loop.GetVertex(GridVertex(3, 1, 1)), FVector(1.25, 1.25, 0.0));
    EXPECT_EQ(Loop.GetVertex(GridVertex(3, 2, 2)), FVector(1.75, 1.75, 0.0));
}
