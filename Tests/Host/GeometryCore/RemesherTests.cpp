#include "GeometryCore/DynamicMesh/BoneWeightBlend.h"
#include "GeometryCore/Remesher/Remesher.h"

#include "MeshTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

TEST(BoneWeightBlend, MergesBonesKeepsTheHeaviestAndSumsToOne)
{
    struct FCase
    {
        const char* Name;
        std::vector<FBoneWeight> A;
        std::vector<FBoneWeight> B;
        double T;
        int32 MaxInfluences;
        std::vector<FBoneWeight> Expected;
    };
    const FCase Cases[] = {
        {"an end is kept bit for bit", {{1, 40000}, {2, 25535}}, {{3, 65535}}, 0.0, 1, {{1, 40000}, {2, 25535}}},
        {"the other end too", {{1, 65535}}, {{3, 30000}, {4, 35535}}, 1.0, 1, {{3, 30000}, {4, 35535}}},
        {"shared bones add up", {{1, 65535}}, {{1, 32768}, {2, 32767}}, 0.5, 2, {{1, 49151}, {2, 16384}}},
        {"ties keep the lower bone", {{7, 65535}}, {{3, 65535}}, 0.5, 2, {{3, 32767}, {7, 32768}}},
        {"only the heaviest stay", {{1, 65535}}, {{2, 65535}}, 0.25, 1, {{1, 65535}}},
        {"no influences, none blended", {}, {}, 0.5, 4, {}},
    };
    for (const FCase& Case : Cases)
    {
        SCOPED_TRACE(Case.Name);
        TArray<FBoneWeight> Out;
        BlendBoneWeights(Case.A, Case.B, Case.T, Case.MaxInfluences, Out);
        EXPECT_EQ(std::vector<FBoneWeight>(Out.begin(), Out.end()), Case.Expected);
    }
}

// The whole-mesh remesher on a wavy grid with a held vertex and a held edge in the middle.
TEST(Remesher, RespectsConstraintsAndTheNormalFlipOption)
{
    for (const bool bPreventNormalFlips : {false, true})
    {
        SCOPED_TRACE(bPreventNormalFlips);
        FDynamicMesh3 Mesh = MakeGridMesh(8, 8);
        for (const int32 VertexID : Mesh.VertexIndices())
        {
            const FVector Position = Mesh.GetVertex(VertexID);
            Mesh.SetVertex(VertexID, FVector(Position.X, Position.Y, 0.3 * std::sin(Position.X + Position.Y)));
        }
        const int32 FixedVertex = GridVertex(8, 3, 3);
        const FIndex2i HeldEnds{GridVertex(8, 5, 5), GridVertex(8, 6, 6)};
        const FVector FixedPosition = Mesh.GetVertex(FixedVertex);
        FMeshConstraints Constraints;
        Constraints.SetOrUpdateVertexConstraint(FixedVertex, FVertexConstraint::FullyConstrained());
        Constraints.SetOrUpdateEdgeConstraint(Mesh.FindEdge(HeldEnds.A, HeldEnds.B), FEdgeConstraint::FullyConstrained());
        for (const int32 VertexID : {HeldEnds.A, HeldEnds.B})
        {
            Constraints.SetOrUpdateVertexConstraint(VertexID, FVertexConstraint::FullyConstrained());
        }
        const TArray<int32> Boundary =
            Collect(Mesh.VertexIndices()).FilterByPredicate([&Mesh](int32 ID) { return Mesh.IsBoundaryVertex(ID); });

        FRemesher Remesher(&Mesh);
        Remesher.SetTargetEdgeLength(0.6);
        Remesher.SetExternalConstraints(Constraints);
        Remesher.bPreventNormalFlips = bPreventNormalFlips;
        for (int32 Pass = 0; Pass < 5; ++Pass)
        {
            Remesher.BasicRemeshPass();
        }
        ASSERT_TRUE(IsValidMesh(Mesh));
        EXPECT_GT(Mesh.TriangleCount(), 200);
        EXPECT_EQ(Mesh.GetVertex(FixedVertex), FixedPosition);
        EXPECT_NE(Mesh.FindEdge(HeldEnds.A, HeldEnds.B), FDynamicMesh3::InvalidID);
        for (const int32 VertexID : Boundary)
        {
            EXPECT_TRUE(Mesh.IsVertex(VertexID));
        }
        if (bPreventNormalFlips)
        {
            for (const int32 TriangleID : Mesh.TriangleIndices())
            {
                EXPECT_GT(Mesh.GetTriNormal(TriangleID).Z, 0.0);
            }
        }
    }
}

// A sheet flat for X < 6 and rolled onto a cylinder of radius 2 beyond: adaptive sizing keeps the target
// length where flat and shortens edges where rolled; without it both halves get the same lengths.
TEST(Remesher, AdaptiveSizingShortensEdgesWhereTheSurfaceBends)
{
    struct FCase
    {
        double MaxDeviation;
        double MinRatio;
        double MaxRatio;
    };
    for (const FCase& Case : {FCase{0.0, 0.8, 1.25}, FCase{0.02, 0.0, 0.7}})
    {
        SCOPED_TRACE(Case.MaxDeviation);
        FDynamicMesh3 Mesh = MakeGridMesh(12, 6);
        for (const int32 VertexID : Mesh.VertexIndices())
        {
            const FVector Position = Mesh.GetVertex(VertexID);
            const double Angle = std::max(Position.X - 6.0, 0.0) / 2.0;
            Mesh.SetVertex(VertexID, FVector(std::min(Position.X, 6.0) + 2.0 * std::sin(Angle), Position.Y,
                                             2.0 * (1.0 - std::cos(Angle))));
        }
        FRemesher Remesher(&Mesh);
        Remesher.SetTargetEdgeLength(1.0);
        Remesher.SetAdaptiveSizing(Case.MaxDeviation);
        Remesher.bPreventNormalFlips = true;
        for (int32 Pass = 0; Pass < 5; ++Pass)
        {
            Remesher.BasicRemeshPass();
        }
        ASSERT_TRUE(IsValidMesh(Mesh));
        double Sums[2] = {0.0, 0.0};
        int32 Counts[2] = {0, 0};
        for (const int32 EdgeID : Mesh.EdgeIndices())
        {
            const FIndex2i Ends = Mesh.GetEdgeV(EdgeID);
            const FVector A = Mesh.GetVertex(Ends.A);
            const FVector B = Mesh.GetVertex(Ends.B);
            const int32 Half = A.Z > 0.5 && B.Z > 0.5 ? 1 : (A.X < 5.0 && B.X < 5.0 ? 0 : -1);
            if (Half >= 0)
            {
                Sums[Half] += (A - B).Size();
                ++Counts[Half];
            }
        }
        const double Flat = Sums[0] / Counts[0];
        EXPECT_GT(Flat, 0.8);
        EXPECT_LT(Flat, 4.0 / 3.0);
        EXPECT_GE(Sums[1] / Counts[1] / Flat, Case.MinRatio);
        EXPECT_LE(Sums[1] / Counts[1] / Flat, Case.MaxRatio);
    }
}

namespace
{
double SmallestAngleDegrees(const FDynamicMesh3& Mesh)
{
    double Smallest = 180.0;
    for (const int32 TriangleID : Mesh.TriangleIndices())
    {
        const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            const FVector Corner0 = Mesh.GetVertex(Tri[Corner]);
            const FVector ToNext = (Mesh.GetVertex(Tri[(Corner + 1) % 3]) - Corner0).GetSafeNormal(0.0);
            const FVector ToPrevious = (Mesh.GetVertex(Tri[(Corner + 2) % 3]) - Corner0).GetSafeNormal(0.0);
            Smallest =
                std::min(Smallest, std::acos(std::clamp(ToNext.Dot(ToPrevious), -1.0, 1.0)) * 180.0 / std::numbers::pi);
        }
    }
    return Smallest;
}
} // namespace

// A flat grid whose vertex (3, 3) has slid almost onto (4, 3), leaving needles and caps around it. The
// clean-up alone (the other steps off) flips and moves its way to a far larger smallest angle around a
// held diagonal, which it would flip otherwise, or around the slid vertex held in place, which it would
// move otherwise.
TEST(Remesher, TheCleanUpWidensThinTrianglesAndKeepsTheConstraints)
{
    struct FCase
    {
        const char* Name;
        bool bHoldEdge;
        bool bPreventNormalFlips;
    };
    const int32 Slid = GridVertex(6, 3, 3);
    const FIndex2i Diagonal{GridVertex(6, 3, 2), GridVertex(6, 4, 3)};
    const FVector SlidTo(3.85, 3.1, 0.0);
    for (const FCase& Case :
         {FCase{"held diagonal", true, false}, FCase{"held diagonal, no normal flips", true, true},
          FCase{"held vertex", false, false}, FCase{"held vertex, no normal flips", false, true}})
    {
        SCOPED_TRACE(Case.Name);
        FDynamicMesh3 Mesh = MakeGridMesh(6, 6);
        Mesh.SetVertex(Slid, SlidTo);
        FMeshConstraints Constraints;
        if (Case.bHoldEdge)
        {
            Constraints.SetOrUpdateEdgeConstraint(Mesh.FindEdge(Diagonal.A, Diagonal.B),
                                                  FEdgeConstraint::FullyConstrained());
        }
        else
        {
            Constraints.SetOrUpdateVertexConstraint(Slid, FVertexConstraint::FullyConstrained());
        }
        const double SmallestBefore = SmallestAngleDegrees(Mesh);

        FRemesher Remesher(&Mesh);
        Remesher.SetExternalConstraints(Constraints);
        Remesher.bPreventNormalFlips = Case.bPreventNormalFlips;
        Remesher.bEnableSplits = Remesher.bEnableCollapses = Remesher.bEnableFlips =
            Remesher.bEnableSmoothing = false;
        Remesher.BasicRemeshPass();

        ASSERT_TRUE(IsValidMesh(Mesh));
        EXPECT_GT(Remesher.GetLastPassStats().Flips, 0);
        EXPECT_GT(Remesher.GetLastPassStats().VerticesMoved, 0);
        EXPECT_GT(SmallestAngleDegrees(Mesh), SmallestBefore + 20.0);
        EXPECT_EQ(Mesh.FindEdge(Diagonal.A, Diagonal.B) != FDynamicMesh3::InvalidID, Case.bHoldEdge);
        EXPECT_EQ(Mesh.GetVertex(Slid) == SlidTo, !Case.bHoldEdge);
        for (const int32 TriangleID : Mesh.TriangleIndices())
        {
            EXPECT_GT(Mesh.GetTriNormal(TriangleID).Z, 0.0);
        }
    }
}

// One free vertex inside a pentagon whose corners, on the boundary, cannot move; every edge from it is
// short. Where the pentagon has a short side, any collapse would leave a sliver on it with nothing free
// to mend it, so the vertex stays; with a longer side it goes.
TEST(Remesher, ACollapseLeavesNoSliverOnCornersThatCannotMove)
{
    struct FCase
    {
        const char* Name;
        double Side;
        FVector Inner;
        FVector Right;
        FVector Top;
        FVector Left;
        int32 TrianglesAfter;
    };
    for (const FCase& Case :
         {FCase{"short side", 0.3, {0.15, 0.5, 0.0}, {0.9, 0.6, 0.0}, {0.15, 1.2, 0.0}, {-0.6, 0.6, 0.0}, 5},
          FCase{"long side", 0.6, {0.3, 0.45, 0.0}, {1.1, 0.6, 0.0}, {0.3, 1.1, 0.0}, {-0.5, 0.6, 0.0}, 3}})
    {
        SCOPED_TRACE(Case.Name);
        FDynamicMesh3 Mesh;
        const int32 First = Mesh.AppendVertex(FVector::ZeroVector);
        const int32 Second = Mesh.AppendVertex(FVector(Case.Side, 0.0, 0.0));
        const int32 Right = Mesh.AppendVertex(Case.Right);
        const int32 Top = Mesh.AppendVertex(Case.Top);
        const int32 Left = Mesh.AppendVertex(Case.Left);
        const int32 Inner = Mesh.AppendVertex(Case.Inner);
        for (const FIndex3i& Tri :
             {FIndex3i{First, Second, Inner}, FIndex3i{Second, Right, Inner}, FIndex3i{Right, Top, Inner},
              FIndex3i{Top, Left, Inner}, FIndex3i{Left, First, Inner}})
        {
            Mesh.AppendTriangle(Tri);
        }
        FRemesher Remesher(&Mesh);
        Remesher.bEnableSplits = Remesher.bEnableFlips = Remesher.bEnableSmoothing = Remesher.bEnableCleanUp =
            false;
        Remesher.BasicRemeshPass();
        ASSERT_TRUE(IsValidMesh(Mesh));
        EXPECT_EQ(Mesh.TriangleCount(), Case.TrianglesAfter);
        EXPECT_EQ(Mesh.IsVertex(Inner), Case.TrianglesAfter == 5);
    }
}

// Two vertices of valence 7 share an edge between two of valence 5, so flipping it evens all four out;
// but where the two across lie far from it, the flipped edge would leave triangles under 20 degrees,
// thinner than the two it replaces, and the edge stays.
TEST(Remesher, AValenceFlipLeavesNoThinnerTriangles)
{
    struct FCase
    {
        const char* Name;
        double Across;
        bool bFlips;
    };
    for (const FCase& Case : {FCase{"near corners across", 0.35, true}, FCase{"far corners across", 1.0, false}})
    {
        SCOPED_TRACE(Case.Name);
        FDynamicMesh3 Mesh;
        const auto Add = [&Mesh](double X, double Y) { return Mesh.AppendVertex(FVector(X, Y, 0.0)); };
        const int32 A = Add(-0.3, 0.0);
        const int32 B = Add(0.3, 0.0);
        const int32 C = Add(0.0, Case.Across);
        const int32 D = Add(0.0, -Case.Across);
        const int32 Top = Add(0.0, 2.0);
        const int32 Bottom = Add(0.0, -2.0);
        const int32 Left[4] = {Add(-1.2, 0.9), Add(-1.3, 0.3), Add(-1.3, -0.3), Add(-1.2, -0.9)};
        const int32 Right[4] = {Add(1.2, 0.9), Add(1.3, 0.3), Add(1.3, -0.3), Add(1.2, -0.9)};
        const FIndex3i Tris[] = {{C, Top, Left[0]},     {C, Left[0], A},        {C, A, B},
                                 {C, B, Right[0]},      {C, Right[0], Top},     {D, Left[3], Bottom},
                                 {D, A, Left[3]},       {D, B, A},              {D, Right[3], B},
                                 {D, Bottom, Right[3]}, {A, Left[0], Left[1]},  {A, Left[1], Left[2]},
                                 {A, Left[2], Left[3]}, {B, Right[1], Right[0]}, {B, Right[2], Right[1]},
                                 {B, Right[3], Right[2]}};
        for (const FIndex3i& Tri : Tris)
        {
            const bool bCounterClockwise = (Mesh.GetVertex(Tri.B) - Mesh.GetVertex(Tri.A))
                                               .Cross(Mesh.GetVertex(Tri.C) - Mesh.GetVertex(Tri.A))
                                               .Z > 0.0;
            ASSERT_GE(Mesh.AppendTriangle(bCounterClockwise ? Tri : FIndex3i{Tri.A, Tri.C, Tri.B}), 0);
        }
        ASSERT_EQ(Mesh.GetVtxEdgeCount(A), 7);
        ASSERT_EQ(Mesh.GetVtxEdgeCount(C), 5);

        FRemesher Remesher(&Mesh);
        Remesher.bEnableSplits = Remesher.bEnableCollapses = false;
        Remesher.bEnableSmoothing = Remesher.bEnableCleanUp = false;
        Remesher.BasicRemeshPass();

        ASSERT_TRUE(IsValidMesh(Mesh));
        EXPECT_EQ(Mesh.FindEdge(C, D) != FDynamicMesh3::InvalidID, Case.bFlips);
        EXPECT_EQ(Mesh.FindEdge(A, B) == FDynamicMesh3::InvalidID, Case.bFlips);
    }
}
