#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/DynamicMesh/DynamicSubmesh3.h"
#include "GeometryCore/Remesher/MeshConstraintsUtil.h"
#include "GeometryCore/Remesher/SubRegionRemesher.h"
#include "GeometryCore/Spatial/MeshAABBTree3.h"
#include "GeometryCore/Spatial/TriangleDistance.h"

#include "MeshTestUtil.h"
#include "Support/RegionRemesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
/** The attributed grid, its heights a gentle wave, so that projection matters. */
FDynamicMesh3 MakeWavyGrid(int32 Quads)
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(Quads, Quads);
    for (const int32 VertexID : Mesh.VertexIndices())
    {
        const FVector Position = Mesh.GetVertex(VertexID);
        Mesh.SetVertex(VertexID, FVector(Position.X, Position.Y, 0.4 * std::sin(Position.X) * std::cos(0.5 * Position.Y)));
    }
    return Mesh;
}

/** The triangles whose centroid lies in [0, 6] x [3, 9]: across the UV seam at x = 1 and the open side x = 0. */
TArray<int32> PickRegion(const FDynamicMesh3& Mesh)
{
    return Collect(Mesh.TriangleIndices())
        .FilterByPredicate(
            [&Mesh](int32 TriangleID)
            {
                const FVector Centroid = Mesh.GetTriCentroid(TriangleID);
                return Centroid.X < 6.0 && Centroid.Y > 3.0 && Centroid.Y < 9.0;
            });
}

/** A triangle outside the region as it was: corners, positions and UVs. */
struct FKeptTriangle
{
    int32 TriangleID;
    FIndex3i Corners;
    FVector Positions[3];
    FVector2f UVs[3];
};

FKeptTriangle Describe(const FDynamicMesh3& Mesh, int32 TriangleID)
{
    const FDynamicMeshUVOverlay& UVs = *Mesh.Attributes()->GetUVLayer(0);
    FKeptTriangle Kept{TriangleID, Mesh.GetTriangle(TriangleID), {}, {}};
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        Kept.Positions[Corner] = Mesh.GetVertex(Kept.Corners[Corner]);
        Kept.UVs[Corner] = UVs.GetElement(UVs.GetTriangle(TriangleID)[Corner]);
    }
    return Kept;
}

bool operator==(const FKeptTriangle& A, const FKeptTriangle& B)
{
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        if (A.Positions[Corner] != B.Positions[Corner] || A.UVs[Corner] != B.UVs[Corner])
        {
            return false;
        }
    }
    return A.TriangleID == B.TriangleID && A.Corners == B.Corners;
}
} // namespace

TEST(MeshAABBTree3, FindsTheNearestTriangleAsABruteForceSearchDoes)
{
    const FDynamicMesh3 Mesh = MakeWavyGrid(10);
    const TArray<int32> Region = PickRegion(Mesh);
    const FDynamicSubmesh3 Submesh(&Mesh, Region);
    ASSERT_EQ(Submesh.GetSubmesh().TriangleCount(), Region.Num());
    for (int32 SubTriangle = 0; SubTriangle < Region.Num(); ++SubTriangle)
    {
        const int32 BaseTriangle = Submesh.MapTriangleToBaseMesh(SubTriangle);
        EXPECT_EQ(Submesh.MapTriangleToSubmesh(BaseTriangle), SubTriangle);
        EXPECT_EQ(Submesh.GetSubmesh().GetTriCentroid(SubTriangle), Mesh.GetTriCentroid(BaseTriangle));
    }
    const FDynamicMeshAABBTree3 Tree(&Mesh);
    std::mt19937 Random(7);
    std::uniform_real_distribution<double> Coordinate(-2.0, 12.0);
    for (int32 Query = 0; Query < 300; ++Query)
    {
        const FVector Point(Coordinate(Random), Coordinate(Random), Coordinate(Random) / 4.0);
        double Nearest = std::numeric_limits<double>::max();
        for (const int32 TriangleID : Mesh.TriangleIndices())
        {
            const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
            const FVector Closest =
                ClosestPointOnTriangle(Point, Mesh.GetVertex(Tri.A), Mesh.GetVertex(Tri.B), Mesh.GetVertex(Tri.C));
            Nearest = std::min(Nearest, (Closest - Point).SizeSquared());
        }
        double Found = 0.0;
        const int32 Hint = Query % 2 == 0 ? -1 : Query;
        EXPECT_NE(Tree.FindNearestTriangle(Point, Found, std::numeric_limits<double>::max(), Hint), -1);
        EXPECT_DOUBLE_EQ(Found, Nearest);
        EXPECT_DOUBLE_EQ((Tree.FindNearestPoint(Point) - Point).SizeSquared(), Nearest);
    }
}

// The 3 by 2 grid's first row, columns 0 and 1: its interior edges are 0-5, 1-5 (a UV seam) and 1-6.
TEST(MeshConstraintsUtil, HoldsTheRegionBorderAndItsSeams)
{
    const FDynamicMesh3 Mesh = MakeAttributedGridMesh(3, 2);
    const TArray<int32> Region = {0, 1, 2, 3};
    TSet<int32> TriangleSet;
    TSet<int32> EdgeSet;
    TArray<int32> Edges;
    for (const int32 TriangleID : Region)
    {
        TriangleSet.Add(TriangleID);
        const FIndex3i TriEdges = Mesh.GetTriEdges(TriangleID);
        for (const int32 EdgeID : {TriEdges.A, TriEdges.B, TriEdges.C})
        {
            Edges.AddUnique(EdgeID);
            EdgeSet.Add(EdgeID);
        }
    }
    for (const bool bAllow : {false, true})
    {
        FMeshConstraints Constraints;
        FMeshConstraintsUtil::ConstrainROIBoundariesInEdgeROI(Constraints, Mesh, EdgeSet, TriangleSet, bAllow, bAllow);
        EXPECT_EQ(Constraints.NumEdgeConstraints(), 6);
        FMeshConstraintsUtil::ConstrainSeamsInEdgeROI(Constraints, Mesh, Edges, bAllow, bAllow);
        EXPECT_EQ(Constraints.NumEdgeConstraints(), 7);
        EXPECT_FALSE(Constraints.HasEdgeConstraint(Mesh.FindEdge(0, 5)));
        EXPECT_FALSE(Constraints.HasEdgeConstraint(Mesh.FindEdge(1, 6)));
        const FEdgeConstraint Seam = Constraints.GetEdgeConstraint(Mesh.FindEdge(1, 5));
        EXPECT_EQ(Seam.RefineFlags, bAllow ? EEdgeRefineFlags::SplitsOnly : EEdgeRefineFlags::FullyConstrained);
        EXPECT_EQ(Constraints.NumVertexConstraints(), 6);
        EXPECT_EQ(Constraints.GetVertexConstraint(5), (FVertexConstraint{true, bAllow}));
    }
}

// The remesh operation's road through the host: everything outside the region, its border and its seams
// stay bit-identical; inside, the mesh gets the target density, valid, unflipped and normalised.
TEST(SubRegionRemesher, RemeshesTheRegionAndKeepsEverythingElse)
{
    FDynamicMesh3 Mesh = MakeWavyGrid(12);
    const TArray<int32> Region = PickRegion(Mesh);
    const FMeshConstraints Constraints = FRegionRemesh::BuildConstraints(Mesh, Region);
    TArray<FKeptTriangle> Outside;
    for (const int32 TriangleID : Mesh.TriangleIndices())
    {
        if (!Region.Contains(TriangleID))
        {
            Outside.Add(Describe(Mesh, TriangleID));
        }
    }
    TArray<FIndex2i> HeldEdges;
    for (const auto& [EdgeID, Constraint] : Constraints.GetEdgeConstraints())
    {
        HeldEdges.Add(Mesh.GetEdgeV(EdgeID));
    }
    TArray<TPair<int32, FVector>> FixedVertices;
    for (const auto& [VertexID, Constraint] : Constraints.GetVertexConstraints())
    {
        FixedVertices.Add({VertexID, Mesh.GetVertex(VertexID)});
    }
    ASSERT_EQ(HeldEdges.Num(), 30); // 24 around the region, 6 along the seam

    const TArray<int32> Remeshed = FRegionRemesh::Run(Mesh, Region, 0.5, 6);

    ASSERT_TRUE(IsValidMesh(Mesh));
    for (const FKeptTriangle& Kept : Outside)
    {
        ASSERT_TRUE(Mesh.IsTriangle(Kept.TriangleID));
        EXPECT_TRUE(Describe(Mesh, Kept.TriangleID) == Kept) << Kept.TriangleID;
    }
    for (const FIndex2i& Held : HeldEdges)
    {
        EXPECT_NE(Mesh.FindEdge(Held.A, Held.B), FDynamicMesh3::InvalidID);
    }
    for (const auto& [VertexID, Position] : FixedVertices)
    {
        ASSERT_TRUE(Mesh.IsVertex(VertexID));
        EXPECT_EQ(Mesh.GetVertex(VertexID), Position);
    }
    EXPECT_TRUE(Mesh.Attributes()->GetUVLayer(0)->IsSeamEdge(Mesh.FindEdge(GridVertex(12, 1, 5), GridVertex(12, 1, 6))));
    double LengthSum = 0.0;
    for (const int32 TriangleID : Remeshed)
    {
        EXPECT_GT(Mesh.GetTriNormal(TriangleID).Z, 0.0);
        const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            LengthSum += (Mesh.GetVertex(Tri[Corner]) - Mesh.GetVertex(Tri[(Corner + 1) % 3])).Size();
        }
    }
    EXPECT_GT(Remeshed.Num(), 3 * Region.Num());
    EXPECT_NEAR(LengthSum / (3 * Remeshed.Num()), 0.5, 0.1);
    EXPECT_TRUE(HasNormalisedWeights(Mesh, NAME_None));
    EXPECT_TRUE(HasNormalisedWeights(Mesh, "Cloth"));
}

TEST(SubRegionRemesherDeathTest, APassWithoutARegionUpdateStops)
{
    FDynamicMesh3 Mesh = MakeGridMesh(4, 4);
    FSubRegionRemesher Remesher(&Mesh);
    Remesher.InitializeFromTriangles(TArray<int32>{0, 1, 2, 3});
    EXPECT_DEATH(Remesher.BasicRemeshPass(), "LastRemeshPassCounter != LastUpdateROICounter");
    Remesher.UpdateROI();
    Remesher.BasicRemeshPass();
    EXPECT_DEATH(Remesher.BasicRemeshPass(), "LastRemeshPassCounter != LastUpdateROICounter");
}
