#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/DynamicMesh/MeshValidityReport.h"

#include "DynamicMesh3TestAccess.h"
#include "MeshTestUtil.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
/** Breaks a 2 by 1 grid with UVs on every triangle and checks it: the check must report, not stop. */
testing::AssertionResult ReportsBreakage(const std::function<void(FDynamicMesh3&)>& Break,
                                         const char* Expected)
{
    FDynamicMesh3 Mesh = MakeGridMesh(2, 1);
    Mesh.EnableAttributes();
    SetUVIsland(*Mesh.Attributes()->GetUVLayer(0), Mesh, Collect(Mesh.TriangleIndices()));
    if (!Mesh.CheckValidity())
    {
        return testing::AssertionFailure() << "invalid before it was broken";
    }
    Break(Mesh);
    TArray<FString> Problems;
    if (Mesh.CheckValidity(&Problems))
    {
        return testing::AssertionFailure() << "the breakage went unnoticed";
    }
    const FString Joined = FString::Join(Problems, "; ");
    if (!Joined.Contains(Expected))
    {
        return testing::AssertionFailure() << "no \"" << Expected << "\" among: " << *Joined;
    }
    return testing::AssertionSuccess();
}
} // namespace

TEST(DynamicMeshValidity, ReportsCornersEdgesAndStorageOutOfRange)
{
    using Access = FDynamicMesh3TestAccess;
    const struct
    {
        std::function<void(FDynamicMesh3&)> Break;
        const char* Expected;
    } Cases[] = {
        {[](FDynamicMesh3& Mesh) { Access::SetTriangleCorner(Mesh, 1, 2, 99); }, "triangle 1 has corners"},
        {[](FDynamicMesh3& Mesh) { Access::SetTriangleCorner(Mesh, 1, 0, -1); }, "triangle 1 has corners"},
        {[](FDynamicMesh3& Mesh) { Access::SetTriangleEdge(Mesh, 2, 0, -1); },
         "triangle 2 names -1 as edge 0"},
        {[](FDynamicMesh3& Mesh) { Access::SetTriangleEdge(Mesh, 2, 0, 500); },
         "triangle 2 names 500 as edge 0"},
        {[](FDynamicMesh3& Mesh) { Access::SetEdgeEnd(Mesh, 0, 0, -1); }, "edge 0 joins -1"},
        {[](FDynamicMesh3& Mesh) { Access::SetEdgeEnd(Mesh, 0, 1, 40); }, "edge 0 joins"},
        {[](FDynamicMesh3& Mesh) { Access::DropLastTriangleCorners(Mesh); },
         "3 triangles and 4 edge triples"},
    };
    for (const auto& Case : Cases)
    {
        EXPECT_TRUE(ReportsBreakage(Case.Break, Case.Expected)) << Case.Expected;
    }
}

TEST(DynamicMeshValidity, ReportsSkinWeightsLeftOnARemovedVertex)
{
    FDynamicMesh3 Mesh = MakeGridMesh(1, 1);
    // Not in an attribute set, so the mesh does not tell it of the removal.
    FDynamicMeshVertexSkinWeightsAttribute Detached(&Mesh);
    const FBoneWeight Influence[] = {{3, FBoneWeight::MaxRawWeight}};
    Detached.SetValue(2, Influence);
    FMeshValidityReport Before;
    Detached.CheckValidity(Before);
    EXPECT_TRUE(Before.IsValid());

    Mesh.RemoveTriangle(1);
    ASSERT_FALSE(Mesh.IsVertex(2));
    TArray<FString> Problems;
    FMeshValidityReport After(&Problems);
    Detached.CheckValidity(After);
    EXPECT_FALSE(After.IsValid()) << "vertex 2 would come back with the influences";
    EXPECT_TRUE(Problems.ContainsByPredicate([](const FString& Problem)
                                             { return Problem.Contains("removed vertex 2 keeps 1"); }));
}
