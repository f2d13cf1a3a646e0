#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/DynamicMesh/MeshValidityReport.h"

#include "MeshTestUtil.h"

#include <gtest/gtest.h>

namespace
{
struct FUVQuad
{
    FDynamicMesh3 Mesh = MakeGridMesh(1, 1);
    FDynamicMeshUVOverlay* UVs = nullptr;

    FUVQuad()
    {
        Mesh.EnableAttributes();
        UVs = Mesh.Attributes()->GetUVLayer(0);
        SetUVIsland(*UVs, Mesh, {0, 1});
    }
    /** The element triangle 1 uses at the vertex; triangle 1 is (0, 3, 2). */
    int32 ElementAt(int32 VertexID) const { return UVs->GetElementAtVertex(1, VertexID); }
};
} // namespace

TEST(DynamicMeshOverlay, SeamsLieExactlyWhereTheElementsSplit)
{
    FDynamicMesh3 Mesh = MakeGridMesh(2, 2);
    Mesh.EnableAttributes();
    FDynamicMeshUVOverlay& UVs = *Mesh.Attributes()->GetUVLayer(0);
    SetUVIsland(UVs, Mesh, {0, 1, 4, 5});
    SetUVIsland(UVs, Mesh, {2, 3, 6, 7});
    EXPECT_EQ(UVs.ElementCount(), 12);

    const auto IsOnColumnOne = [&Mesh](int32 VertexID)
    {
        return Mesh.GetVertex(VertexID).X == 1.0;
    };
    for (const int32 EdgeID : Mesh.EdgeIndices())
    {
        const FIndex2i Ends = Mesh.GetEdgeV(EdgeID);
        const bool bSplitLine = IsOnColumnOne(Ends.A) && IsOnColumnOne(Ends.B);
        EXPECT_EQ(UVs.IsSeamEdge(EdgeID), bSplitLine) << "edge " << Ends.A << "-" << Ends.B;
        EXPECT_EQ(Mesh.Attributes()->IsSeamEdge(EdgeID), bSplitLine);
        EXPECT_EQ(Mesh.Attributes()->IsAttributeBoundaryEdge(EdgeID), bSplitLine);
    }
    for (const int32 VertexID : Mesh.VertexIndices())
    {
        EXPECT_EQ(UVs.IsSeamVertex(VertexID), IsOnColumnOne(VertexID)) << "vertex " << VertexID;
    }
    const int32 Corner = UVs.GetTriangle(7).C;
    EXPECT_EQ(UVs.GetParentVertex(Corner), Mesh.GetTriangle(7).C);
    EXPECT_EQ(UVs.GetElement(Corner), FVector2f(1.0f, 2.0f));
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(DynamicMeshOverlay, AnElementLivesWhileATriangleUsesIt)
{
    FUVQuad Quad;
    const int32 Shared = Quad.Mesh.FindEdge(0, 3);
    const FIndex3i Joined = Quad.UVs->GetTriangle(1);
    // Corners 0 and 1 of triangle 1 are the two ends of the shared edge: split each in turn.
    for (const int32 Corner : {0, 1})
    {
        FIndex3i Split = Joined;
        Split[Corner] = Quad.UVs->AppendElement(FVector2f(9.0f, 9.0f));
        EXPECT_EQ(Quad.UVs->GetParentVertex(Split[Corner]), FDynamicMesh3::InvalidID);
        Quad.UVs->SetTriangle(1, Split);
        EXPECT_EQ(Quad.UVs->GetParentVertex(Split[Corner]), Quad.Mesh.GetTriangle(1)[Corner]);
        EXPECT_TRUE(Quad.UVs->IsSeamEdge(Shared)) << "split at corner " << Corner;
        EXPECT_TRUE(Quad.UVs->IsElement(Joined[Corner])) << "triangle 0 still uses it";
        Quad.UVs->SetTriangle(1, Split);
        EXPECT_TRUE(Quad.UVs->IsElement(Split[Corner])) << "setting the same elements keeps them";
        Quad.UVs->SetTriangle(1, Joined);
        EXPECT_FALSE(Quad.UVs->IsElement(Split[Corner])) << "its only triangle let go of it";
        EXPECT_FALSE(Quad.UVs->IsSeamEdge(Shared));
    }
    EXPECT_TRUE(IsValidMesh(Quad.Mesh));

    const int32 OnlyInTriangle0 = Quad.UVs->GetElementAtVertex(0, 1);
    Quad.Mesh.RemoveTriangle(0, false);
    EXPECT_FALSE(Quad.UVs->IsElement(OnlyInTriangle0));
    EXPECT_EQ(Quad.UVs->ElementCount(), 3);
    EXPECT_TRUE(IsValidMesh(Quad.Mesh));
    Quad.UVs->UnsetTriangle(1);
    EXPECT_EQ(Quad.UVs->ElementCount(), 0);
    EXPECT_EQ(Quad.UVs->AppendElement(FVector2f()), Joined.C) << "the most recently freed ID";
}

TEST(DynamicMeshOverlay, NewTrianglesStartUnset)
{
    FUVQuad Quad;
    Quad.Mesh.RemoveTriangle(1, false);
    const int32 Readded = Quad.Mesh.AppendTriangle({0, 3, 2});
    EXPECT_EQ(Readded, 1);
    EXPECT_FALSE(Quad.UVs->IsSetTriangle(Readded));
    EXPECT_EQ(Quad.UVs->GetTriangle(Readded), FIndex3i());
    EXPECT_TRUE(Quad.UVs->IsSeamEdge(Quad.Mesh.FindEdge(0, 3))) << "set against unset";
    EXPECT_FALSE(Quad.Mesh.Attributes()->PrimaryNormals()->IsSeamEdge(Quad.Mesh.FindEdge(0, 3)))
        << "unset against unset";
    EXPECT_TRUE(IsValidMesh(Quad.Mesh));
}

TEST(DynamicMeshOverlay, ADetachedOverlayReportsTheEditsItMissed)
{
    FDynamicMesh3 Mesh = MakeGridMesh(1, 1);
    FDynamicMeshUVOverlay Detached(&Mesh);
    SetUVIsland(Detached, Mesh, {0, 1});
    FMeshValidityReport Before;
    Detached.CheckValidity(Before);
    EXPECT_TRUE(Before.IsValid());

    Mesh.RemoveTriangle(1, false);
    TArray<FString> Problems;
    FMeshValidityReport After(&Problems);
    Detached.CheckValidity(After);
    EXPECT_FALSE(After.IsValid());
    EXPECT_TRUE(
        Problems.ContainsByPredicate([](const FString& Problem) { return Problem.Contains("removed"); }));

    Mesh.AppendVertex(FVector::ZeroVector);
    Mesh.AppendTriangle({0, 3, 4});
    FMeshValidityReport AfterReuse;
    Detached.CheckValidity(AfterReuse);
    EXPECT_FALSE(AfterReuse.IsValid()) << "triangle 1 came back with other corners";
}

TEST(DynamicMeshOverlayDeathTest, AnElementBelongsToOneVertex)
{
    FUVQuad Quad;
    EXPECT_DEATH(Quad.UVs->SetTriangle(1, {Quad.ElementAt(0), Quad.ElementAt(2), Quad.ElementAt(3)}),
                 "belongs to vertex");
    EXPECT_DEATH(Quad.UVs->SetTriangle(1, {Quad.ElementAt(0), FDynamicMesh3::InvalidID, Quad.ElementAt(2)}),
                 "not an element");
}
