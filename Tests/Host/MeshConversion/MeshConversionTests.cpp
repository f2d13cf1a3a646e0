#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "MeshConversion/DynamicMeshToMeshDescription.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/MeshBuilders.h"
#include "Support/MeshExpectations.h"

#include <gtest/gtest.h>

namespace
{
/** Seams in UVs and normals, an empty group, three groups, three influences, a position-only morph. */
FMeshDescription SeamedMesh()
{
    return BuildSkinnedGrid({.QuadsX = 4,
                             .QuadsY = 4,
                             .NumGroups = 3,
                             .bEmptyGroup = true,
                             .NumUVChannels = 2,
                             .bHardEdge = true,
                             .InfluencesPerVertex = 3,
                             .bMorphTarget = true});
}

FDynamicMesh3 ToDynamic(const FMeshDescription& Mesh, FMeshDescriptionToDynamicMesh& Converter)
{
    FDynamicMesh3 Dynamic;
    Converter.Convert(Mesh, Dynamic, true);
    return Dynamic;
}

FDynamicMesh3 ToDynamic(const FMeshDescription& Mesh)
{
    FMeshDescriptionToDynamicMesh Converter;
    return ToDynamic(Mesh, Converter);
}
} // namespace

TEST(MeshConversion, RoundTripGivesBackTheSameDescription)
{
    const FMeshDescription Original = SeamedMesh();
    const FDynamicMesh3 Dynamic = ToDynamic(Original);
    EXPECT_TRUE(IsValidMesh(Dynamic));

    FMeshDescription IntoCopy = Original;
    FDynamicMeshToMeshDescription().Convert(Dynamic, IntoCopy, true);
    EXPECT_TRUE(IntoCopy == Original);

    FMeshDescription IntoFresh;
    FDynamicMeshToMeshDescription().Convert(Dynamic, IntoFresh, true);
    EXPECT_TRUE(IntoFresh == Original);
    ExpectConsistent(IntoFresh);

    FDynamicMesh3 ByDefault;
    FMeshDescriptionToDynamicMesh().Convert(Original, ByDefault);
    FMeshDescription Back = Original;
    FDynamicMeshToMeshDescription().Convert(ByDefault, Back);
    EXPECT_TRUE(Back == Original) << "the default arguments keep tangents and binormal signs too";
}

TEST(MeshConversion, EmptyMeshesConvertBothWays)
{
    FDynamicMesh3 Dynamic;
    FMeshDescriptionToDynamicMesh Converter;
    Converter.Convert(FMeshDescription(), Dynamic, true);
    EXPECT_EQ(Dynamic.VertexCount(), 0);
    EXPECT_TRUE(Converter.TriangleMap.IsEmpty());
    EXPECT_TRUE(IsValidMesh(Dynamic));

    FMeshDescription Mesh = SeamedMesh();
    FDynamicMeshToMeshDescription().Convert(Dynamic, Mesh, true);
    EXPECT_EQ(Mesh.Vertices().Num(), 0);
    EXPECT_EQ(Mesh.Triangles().Num(), 0);
    ExpectConsistent(Mesh);
}

TEST(MeshConversion, AMovedFromDescriptionCanBeWrittenInto)
{
    const FMeshDescription Original = SeamedMesh();
    const FDynamicMesh3 Dynamic = ToDynamic(Original);
    FMeshDescription Mesh = Original;
    const FMeshDescription Taken = std::move(Mesh);
    FDynamicMeshToMeshDescription().Convert(Dynamic, Mesh, true);
    EXPECT_EQ(Mesh.Triangles().Num(), Original.Triangles().Num());
    EXPECT_EQ(FSkeletalMeshAttributesShared(Mesh).GetVertexPositions()[FVertexID(7)],
              FSkeletalMeshAttributesShared(Original).GetVertexPositions()[FVertexID(7)]);
    ExpectConsistent(Mesh);
}

TEST(MeshConversion, DynamicMeshCarriesSeamsGroupsWeightsAndMorphs)
{
    const FMeshDescription Original = SeamedMesh();
    const FSkeletalMeshAttributesShared Attributes(Original);
    FMeshDescriptionToDynamicMesh Converter;
    const FDynamicMesh3 Dynamic = ToDynamic(Original, Converter);
    const FDynamicMeshAttributeSet& DynamicAttributes = *Dynamic.Attributes();

    EXPECT_EQ(Dynamic.TriangleCount(), Original.Triangles().Num());
    EXPECT_EQ(Dynamic.VertexCount(), Original.Vertices().Num());
    EXPECT_EQ(DynamicAttributes.NumUVLayers(), 2);
    EXPECT_TRUE(DynamicAttributes.HasTangents());
    ASSERT_EQ(DynamicAttributes.MaterialGroups().Num(), 4);
    EXPECT_EQ(DynamicAttributes.MaterialGroups()[3], (FDynamicMeshMaterialGroup{3, "Unused"}));

    // The UV seam runs up the column x = 2, the hard edge along the row y = 2.
    for (const int32 Edge : Dynamic.EdgeIndices())
    {
        const FVector A = Dynamic.GetVertex(Dynamic.GetEdgeV(Edge).A);
        const FVector B = Dynamic.GetVertex(Dynamic.GetEdgeV(Edge).B);
        const bool bOnSeamColumn = A.X == 2.0 && B.X == 2.0;
        const bool bOnHardRow = A.Y == 2.0 && B.Y == 2.0;
        EXPECT_EQ(DynamicAttributes.GetUVLayer(0)->IsSeamEdge(Edge), bOnSeamColumn) << Edge;
        EXPECT_FALSE(DynamicAttributes.GetUVLayer(1)->IsSeamEdge(Edge)) << Edge;
        EXPECT_EQ(DynamicAttributes.PrimaryNormals()->IsSeamEdge(Edge), bOnHardRow) << Edge;
    }

    for (const int32 Triangle : Dynamic.TriangleIndices())
    {
        const FTriangleID Source = Converter.TriangleMap[Triangle];
        EXPECT_EQ(DynamicAttributes.GetMaterialID()->GetValue(Triangle),
                  Original.GetTrianglePolygonGroup(Source).GetValue());
        EXPECT_EQ(Dynamic.GetTriCentroid(Triangle).X,
                  (Attributes.GetVertexPositions()[Original.GetTriangleVertices(Source)[0]].X +
                   Attributes.GetVertexPositions()[Original.GetTriangleVertices(Source)[1]].X +
                   Attributes.GetVertexPositions()[Original.GetTriangleVertices(Source)[2]].X) /
                      3.0);
    }
    for (const int32 Vertex : Dynamic.VertexIndices())
    {
        const FVertexID Source = Converter.VertexMap[Vertex];
        EXPECT_TRUE(std::ranges::equal(DynamicAttributes.GetSkinWeightsAttribute()->GetValue(Vertex),
                                       Attributes.GetVertexSkinWeights().Get(Source)));
        EXPECT_EQ(DynamicAttributes.GetMorphTargetAttribute("Smile")->GetValue(Vertex),
                  Attributes.GetVertexMorphPositionDelta("Smile")[Source]);
    }
}

TEST(MeshConversion, TriangleMapFollowsSparseDescriptionIDs)
{
    FMeshDescription Original = SeamedMesh();
    Original.DeleteTriangle(FTriangleID(0));
    Original.DeleteTriangle(FTriangleID(5));
    FMeshDescriptionToDynamicMesh Converter;
    const FDynamicMesh3 Dynamic = ToDynamic(Original, Converter);

    ASSERT_EQ(Converter.TriangleMap.Num(), Original.Triangles().Num());
    EXPECT_EQ(Converter.TriangleMap[0], FTriangleID(1));
    EXPECT_EQ(Converter.TriangleMap[4], FTriangleID(6));
    EXPECT_TRUE(IsValidMesh(Dynamic));
}

TEST(MeshConversion, MorphNormalDeltasAreTheOneThingNotCarried)
{
    const FMeshDescription Original = BuildSkinnedGrid({.QuadsX = 2, .QuadsY = 2, .bMorphNormals = true});
    FMeshDescription Back = Original;
    FDynamicMeshToMeshDescription().Convert(ToDynamic(Original), Back, true);

    FSkeletalMeshAttributesShared Attributes(Back);
    ASSERT_TRUE(Attributes.HasMorphTargetNormalsAttribute("Frown"));
    EXPECT_EQ(Attributes.GetVertexInstanceMorphNormalDelta("Frown")[FVertexInstanceID(5)],
              FVector3f(0, 0, 0));
    EXPECT_EQ(Attributes.GetVertexMorphPositionDelta("Frown")[FVertexID(5)],
              FSkeletalMeshAttributesShared(Original).GetVertexMorphPositionDelta("Frown")[FVertexID(5)]);
}

TEST(MeshConversion, NonManifoldTrianglesGetTheirOwnVertices)
{
    // Three triangles on the edge v0-v1: the third cannot share it in a dynamic mesh.
    FMeshDescription Mesh;
    FSkeletalMeshAttributes Attributes(Mesh);
    Attributes.Register();
    const FPolygonGroupID Group = Mesh.CreatePolygonGroup();
    const std::array<FVector3f, 5> Points{FVector3f(0, 0, 0), FVector3f(1, 0, 0), FVector3f(0, 1, 0),
                                          FVector3f(0, -1, 0), FVector3f(0, 0, 1)};
    TArray<FVertexInstanceID> Instances;
    for (const FVector3f& Point : Points)
    {
        const FVertexID Vertex = Mesh.CreateVertex();
        Attributes.GetVertexPositions()[Vertex] = Point;
        Instances.Add(Mesh.CreateVertexInstance(Vertex));
    }
    Mesh.CreateTriangle(Group, std::array{Instances[0], Instances[1], Instances[2]});
    Mesh.CreateTriangle(Group, std::array{Instances[1], Instances[0], Instances[3]});
    Mesh.CreateTriangle(Group, std::array{Instances[0], Instances[1], Instances[4]});

    FMeshDescriptionToDynamicMesh Converter;
    const FDynamicMesh3 Dynamic = ToDynamic(Mesh, Converter);
    EXPECT_EQ(Dynamic.TriangleCount(), 3);
    EXPECT_EQ(Dynamic.VertexCount(), 8);
    EXPECT_EQ(Converter.VertexMap.Num(), 8);
    EXPECT_EQ(Converter.VertexMap[5], FVertexID(0)) << "the copies remember their source vertex";
    EXPECT_EQ(Converter.TriangleMap[2], FTriangleID(2));
    EXPECT_TRUE(IsValidMesh(Dynamic));
}

TEST(MeshConversion, EditedDynamicMeshWritesADenseConsistentDescription)
{
    const FMeshDescription Original = SeamedMesh();
    FDynamicMesh3 Dynamic = ToDynamic(Original);
    Dynamic.RemoveTriangle(0);
    Dynamic.RemoveTriangle(1);

    FMeshDescription Back = Original;
    FDynamicMeshToMeshDescription().Convert(Dynamic, Back, true);
    EXPECT_EQ(Back.Triangles().Num(), Original.Triangles().Num() - 2);
    EXPECT_EQ(Back.Triangles().GetArraySize(), Back.Triangles().Num());
    EXPECT_EQ(Back.Vertices().Num(), Original.Vertices().Num() - 1)
        << "the corner vertex went with both triangles";
    EXPECT_EQ(Back.PolygonGroups().Num(), 4);
    for (const FVertexInstanceID Instance : Back.VertexInstances().GetElementIDs())
    {
        EXPECT_FALSE(Back.GetVertexInstanceConnectedTriangleIDs(Instance).IsEmpty()) << "no unused instances";
    }
    ExpectConsistent(Back);
}

TEST(MeshConversion, DynamicMeshWithoutAttributesBecomesOneGroup)
{
    FDynamicMesh3 Dynamic;
    const int32 A = Dynamic.AppendVertex(FVector(0, 0, 0));
    const int32 B = Dynamic.AppendVertex(FVector(1, 0, 0));
    const int32 C = Dynamic.AppendVertex(FVector(0, 1, 0));
    Dynamic.AppendTriangle(FIndex3i{A, B, C});

    FMeshDescription Mesh;
    FDynamicMeshToMeshDescription().Convert(Dynamic, Mesh, true);
    EXPECT_EQ(Mesh.Triangles().Num(), 1);
    EXPECT_EQ(Mesh.PolygonGroups().Num(), 1);
    EXPECT_EQ(Mesh.VertexInstances().Num(), 3);
    EXPECT_EQ(FSkeletalMeshAttributesShared(Mesh).GetVertexPositions()[FVertexID(1)], FVector3f(1, 0, 0));
    ExpectConsistent(Mesh);
}
