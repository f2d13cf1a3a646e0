#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetDeletePolygonsOp.h"
#include "Support/AssetNames.h"
#include "Support/ElementIDs.h"
#include "Support/MeshBuilders.h"
#include "Support/MeshExpectations.h"

#include <gtest/gtest.h>

#include <array>

namespace
{
/** The test character's LOD 0: a 6 x 4 grid in three slots, a UV seam at x = 3, every attribute set. */
FMeshDescription CharacterGrid(bool bEmptyGroup = false)
{
    return BuildSkinnedGrid({.QuadsX = 6,
                             .QuadsY = 4,
                             .NumGroups = 3,
                             .bEmptyGroup = bEmptyGroup,
                             .NumUVChannels = 2,
                             .bHardEdge = true,
                             .bMorphTarget = true,
                             .bMorphNormals = true});
}

/** Everything one corner of a triangle carries, read through its vertex instance, vertex and group. */
struct FCorner
{
    FVector3f Position;
    FVector3f Normal;
    FVector2f UV0;
    FVector2f UV1;
    TArray<FBoneWeight> Weights;
    FVector3f SmileDelta;
    FVector3f FrownNormalDelta;
    FName SlotName;

    friend bool operator==(const FCorner&, const FCorner&) = default;
};

std::array<FCorner, 3> ReadCorners(const FMeshDescription& Mesh, FTriangleID Triangle)
{
    const FSkeletalMeshAttributesShared Attributes(Mesh);
    const auto Weights = Attributes.GetVertexSkinWeights();
    const FName SlotName =
        Attributes.GetPolygonGroupMaterialSlotNames()[Mesh.GetTrianglePolygonGroup(Triangle)];
    std::array<FCorner, 3> Corners;
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        const FVertexInstanceID Instance = Mesh.GetTriangleVertexInstances(Triangle)[Corner];
        const FVertexID Vertex = Mesh.GetVertexInstanceVertex(Instance);
        const std::span<const FBoneWeight> Influences = Weights.Get(Vertex);
        Corners[Corner] = {Attributes.GetVertexPositions()[Vertex],
                           Attributes.GetVertexInstanceNormals()[Instance],
                           Attributes.GetVertexInstanceUVs().Get(Instance, 0),
                           Attributes.GetVertexInstanceUVs().Get(Instance, 1),
                           TArray<FBoneWeight>(Influences.data(), static_cast<int32>(Influences.size())),
                           Attributes.GetVertexMorphPositionDelta("Smile")[Vertex],
                           Attributes.GetVertexInstanceMorphNormalDelta("Frown")[Instance],
                           SlotName};
    }
    return Corners;
}

void ExpectDense(const FMeshDescription& Mesh)
{
    EXPECT_EQ(Mesh.Vertices().GetArraySize(), Mesh.Vertices().Num());
    EXPECT_EQ(Mesh.VertexInstances().GetArraySize(), Mesh.VertexInstances().Num());
    EXPECT_EQ(Mesh.Edges().GetArraySize(), Mesh.Edges().Num());
    EXPECT_EQ(Mesh.Triangles().GetArraySize(), Mesh.Triangles().Num());
    EXPECT_EQ(Mesh.Polygons().GetArraySize(), Mesh.Polygons().Num());
}
} // namespace

TEST(DeleteTrianglesKernel, SurvivorsKeepEveryAttributeAndTheirOrderThroughCompaction)
{
    FMeshDescription Mesh = CharacterGrid(/*bEmptyGroup=*/true);
    const FMeshDescription Before = Mesh;

    // Repeats and IDs that name no live triangle are skipped.
    const FRivetTriangleDeletion Deleted =
        DeleteTrianglesAndCompact(Mesh, TriangleIDs({0, 1, 17, 1, -1, 48, 30}));

    EXPECT_EQ(Deleted.Triangles, 4);
    ASSERT_EQ(Mesh.Triangles().Num(), 44);
    ExpectDense(Mesh);
    ExpectConsistent(Mesh);
    int32 New = 0;
    for (const FTriangleID Old : AllTriangles(Before))
    {
        if (Old != FTriangleID(0) && Old != FTriangleID(1) && Old != FTriangleID(17) &&
            Old != FTriangleID(30))
        {
            SCOPED_TRACE(Old.GetValue());
            EXPECT_EQ(ReadCorners(Mesh, FTriangleID(New++)), ReadCorners(Before, Old));
        }
    }
    // Groups stay as they were, the one without triangles included.
    EXPECT_EQ(GroupSlotNames(Mesh), (TArray<FName>{"Slot_0", "Slot_1", "Slot_2", "Unused"}));
}

TEST(DeleteTrianglesKernel, TakesOnlyTheElementsNoRemainingTriangleUses)
{
    struct FCase
    {
        const char* Name;
        TArray<FTriangleID> Triangles;
        /** An unused vertex instance is added to the corner vertex (0, 0) first. */
        bool bUnusedCornerInstance;
        FRivetTriangleDeletion Expected;
        int32 EdgesDeleted;
    };
    const FCase Cases[] = {
        {"upper half of the corner quad: every corner still used", TriangleIDs({1}), false, {1, 0, 0}, 1},
        {"the corner quad: its corner point goes", TriangleIDs({0, 1}), false, {2, 1, 1}, 3},
        {"right of the UV seam: one instance goes, its point stays",
         TriangleIDs({6, 7}),
         false,
         {2, 0, 1},
         2},
        {"a point kept only by an unused instance goes with it", TriangleIDs({0, 1}), true, {2, 1, 1}, 3},
    };
    for (const FCase& Case : Cases)
    {
        SCOPED_TRACE(Case.Name);
        FMeshDescription Mesh = CharacterGrid();
        if (Case.bUnusedCornerInstance)
        {
            Mesh.CreateVertexInstance(FVertexID(0));
        }
        const int32 Vertices = Mesh.Vertices().Num();
        const int32 Instances = Mesh.VertexInstances().Num();
        const int32 Edges = Mesh.Edges().Num();

        const FRivetTriangleDeletion Deleted = DeleteTrianglesAndCompact(Mesh, Case.Triangles);

        EXPECT_EQ(Deleted.Triangles, Case.Expected.Triangles);
        EXPECT_EQ(Deleted.Vertices, Case.Expected.Vertices);
        EXPECT_EQ(Deleted.VertexInstances, Case.Expected.VertexInstances);
        EXPECT_EQ(Mesh.Vertices().Num(), Vertices - Case.Expected.Vertices);
        const int32 UnusedInstance = Case.bUnusedCornerInstance ? 1 : 0;
        EXPECT_EQ(Mesh.VertexInstances().Num(), Instances - Case.Expected.VertexInstances - UnusedInstance);
        EXPECT_EQ(Mesh.Edges().Num(), Edges - Case.EdgesDeleted);
        ExpectConsistent(Mesh);
    }
}

TEST(DeleteTrianglesKernel, EmptiesTheDescriptionWhenToldTo)
{
    FMeshDescription Mesh = CharacterGrid();
    const int32 Vertices = Mesh.Vertices().Num();

    const FRivetTriangleDeletion Deleted = DeleteTrianglesAndCompact(Mesh, AllTriangles(Mesh));

    EXPECT_EQ(Deleted.Triangles, 48);
    EXPECT_EQ(Deleted.Vertices, Vertices);
    EXPECT_EQ(Mesh.Triangles().Num() + Mesh.Vertices().Num() + Mesh.VertexInstances().Num() +
                  Mesh.Edges().Num(),
              0);
    EXPECT_EQ(Mesh.PolygonGroups().Num(), 3);
    ExpectConsistent(Mesh);
}
