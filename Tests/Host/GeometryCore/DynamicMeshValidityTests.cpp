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
    EXPECT_TRUE(ReportsBreakage([](FDynamicMesh3& Mesh)
                                { FDynamicMesh3TestAccess::SetTriangleCorner(Mesh, 1, 2, 99); },
                                "triangle 1 has corners"));
    EXPECT_TRUE(ReportsBreakage([](FDynamicMesh3& Mesh)
                                { FDynamicMesh3TestAccess::SetTriangleCorner(Mesh, 1, 0, -1); },
                                "triangle 1 has corners"));
    EXPECT_TRUE(ReportsBreakage([](FDynamicMesh3& Mesh)
                                { FDynamicMesh3TestAccess::SetTriangleEdge(Mesh, 2, 0, -1); },
                                "triangle 2 names -1 as edge 0"));
    EXPECT_TRUE(ReportsBreakage([](FDynamicMesh3& Mesh)
                                { FDynamicMesh3TestAccess::SetTriangleEdge(Mesh, 2, 0, 500); },
                                "triangle 2 names 500 as edge 0"));
    EXPECT_TRUE(ReportsBreakage(
        [](FDynamicMesh3& Mesh) { FDynamicMesh3TestAccess::SetEdgeEnd(Mesh, 0, 0, -1); }, "edge 0 joins -1"));
    EXPECT_TRUE(ReportsBreakage(
        [](FDynamicMesh3& Mesh) { FDynamicMesh3TestAccess::SetEdgeEnd(Mesh, 0, 1, 40); }, "edge 0 joins"));
    EXPECT_TRUE(ReportsBreakage([](FDynamicMesh3& Mesh)
                                { FDynamicMesh3TestAccess::DropLastTriangleCorners(Mesh); },
                                "3 triangles and 4 edge triples"));
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
