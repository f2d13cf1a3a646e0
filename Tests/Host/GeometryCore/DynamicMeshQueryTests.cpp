#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(DynamicMeshQueries, CentroidNormalAndArea)
{
    FDynamicMesh3 Mesh;
    Mesh.AppendVertex(FVector(0.0, 0.0, 0.0));
    Mesh.AppendVertex(FVector(3.0, 0.0, 0.0));
    Mesh.AppendVertex(FVector(0.0, 3.0, 3.0));
    Mesh.AppendVertex(FVector(6.0, 0.0, 0.0));
    const int32 Slanted = Mesh.AppendTriangle({0, 1, 2});
    const int32 Flat = Mesh.AppendTriangle({0, 3, 1});
    EXPECT_EQ(Mesh.GetTriCentroid(Slanted), FVector(1.0, 1.0, 1.0));
    EXPECT_TRUE(Mesh.GetTriNormal(Slanted).Equals(FVector(0.0, -1.0, 1.0) / std::sqrt(2.0), 1e-12));
    EXPECT_NEAR(Mesh.GetTriArea(Slanted), 0.5 * 3.0 * std::sqrt(18.0), 1e-12);
    EXPECT_EQ(Mesh.GetTriNormal(Flat), FVector::ZeroVector) << "collinear corners";
    EXPECT_EQ(Mesh.GetTriArea(Flat), 0.0);
}
