#include "Host/MeshDescription/MeshDescriptionTestAccess.h"
#include "MeshDescription/MeshAttributes.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/ElementIDs.h"
#include "Support/MeshBuilders.h"
#include "Support/MeshEdits.h"
#include "Support/MeshExpectations.h"

#include <gtest/gtest.h>

namespace
{
template <typename RangeType>
TArray<int32> SortedValues(const RangeType& Range)
{
    TArray<int32> Result = Values(Range.ToArray());
    Result.Sort();
    return Result;
}

/**
 * Two quads, two groups; the middle column carries a UV seam, so v1 and v4 have an instance on each side.
 *
 *   v3 ---- v4|v4' ---- v5        T0 = (v0 v1 v4)    T2 = (v1' v2 v5)
 *    | T1 /  |  T3 /  |           T1 = (v0 v4 v3)    T3 = (v1' v5 v4')
 *    | / T0  | / T2   |           instances: I0 v0, I1 v1, I2 v4, I3 v3, I4 v1', I5 v2, I6 v5, I7 v4'
 *   v0 ---- v1|v1' ---- v2        edges: E0 v0v1, E1 v1v4, E2 v4v0, E3 v4v3, E4 v3v0,
 *                                        E5 v1v2, E6 v2v5, E7 v5v1, E8 v5v4
 */
FMeshDescription TwoQuads()
{
    return BuildSkinnedGrid({.QuadsX = 2, .QuadsY = 1, .NumGroups = 2});
}

} // namespace

static_assert(std::is_nothrow_move_constructible_v<FMeshDescription> &&
                  std::is_nothrow_move_assignable_v<FMeshDescription>,
              "arrays of descriptions must move them, not copy them, when they grow");

TEST(MeshDescription, CreationSharesEdgesAndLinksEveryElement)
{
    const FMeshDescription Mesh = TwoQuads();
    EXPECT_EQ((std::array{Mesh.Vertices().Num(), Mesh.VertexInstances().Num(), Mesh.Edges().Num(),
                          Mesh.Triangles().Num(), Mesh.Polygons().Num(), Mesh.PolygonGroups().Num()}),
              (std::array{6, 8, 9, 4, 4, 2}));

    EXPECT_EQ(Mesh.GetTriangleVertexInstances(FTriangleID(3)),
              (std::array{FVertexInstanceID(4), FVertexInstanceID(6), FVertexInstanceID(7)}));
    EXPECT_EQ(Mesh.GetTriangleVertices(FTriangleID(3)),
              (std::array{FVertexID(1), FVertexID(5), FVertexID(4)}));
    EXPECT_EQ(Mesh.GetTriangleEdges(FTriangleID(3)), (std::array{FEdgeID(7), FEdgeID(8), FEdgeID(1)}));
    EXPECT_EQ(Mesh.GetTrianglePolygonGroup(FTriangleID(3)), FPolygonGroupID(1));
    EXPECT_EQ(Mesh.GetVertexPairEdge(FVertexID(4), FVertexID(1)), FEdgeID(1));
    EXPECT_FALSE(Mesh.GetVertexPairEdge(FVertexID(0), FVertexID(5)).IsSet());
    EXPECT_EQ(SortedValues(Mesh.GetEdgeConnectedTriangleIDs(FEdgeID(1))), (TArray<int32>{0, 3}));
    EXPECT_EQ(Values(Mesh.GetVertexConnectedTriangles(FVertexID(4))), (TArray<int32>{0, 1, 3}));
    ExpectConsistent(Mesh); // every adjacency list holds exactly the elements that refer to its key
}

TEST(MeshDescription, DeleteTriangleReportsWhatLostItsLastUserAndAReusedIDStartsWithDefaultAttributes)
{
    FMeshDescription Mesh = TwoQuads();
    FSkeletalMeshAttributes Attributes(Mesh);
    Attributes.GetPolygonGroupMaterialSlotNames()[FPolygonGroupID(1)] = "Old";
    TArray<FEdgeID> Edges;
    TArray<FVertexInstanceID> Instances;
    TArray<FPolygonGroupID> Groups;

    Mesh.DeleteTriangle(FTriangleID(2), &Edges, &Instances, &Groups);
    EXPECT_EQ(Values(Edges), (TArray<int32>{5, 6}));
    EXPECT_EQ(Values(Instances), (TArray<int32>{5}));
    EXPECT_TRUE(Groups.IsEmpty());
    EXPECT_FALSE(Mesh.Triangles().IsValid(FTriangleID(2)));
    EXPECT_EQ(Mesh.Polygons().Num(), 3);

    Edges.Empty();
    Instances.Empty();
    Mesh.DeleteTriangle(FTriangleID(3), &Edges, &Instances, &Groups);
    EXPECT_EQ(Values(Edges), (TArray<int32>{7, 8}));
    EXPECT_EQ(Values(Instances), (TArray<int32>{4, 6, 7}));
    EXPECT_EQ(Values(Groups), (TArray<int32>{1}));
    EXPECT_TRUE(Mesh.PolygonGroups().IsValid(FPolygonGroupID(1))) << "a group that lost its polygons is kept";
    ExpectConsistent(Mesh);

    Mesh.DeletePolygonGroup(FPolygonGroupID(1));
    EXPECT_EQ(Mesh.CreatePolygonGroup(), FPolygonGroupID(1));
    EXPECT_TRUE(Attributes.GetPolygonGroupMaterialSlotNames()[FPolygonGroupID(1)].IsNone());
}

TEST(MeshDescription, DeletingInstancesAndEdgesReportsOrphanedVertices)
{
    FMeshDescription Mesh = TwoQuads();
    Mesh.DeleteTriangle(FTriangleID(2));

    TArray<FVertexID> Vertices;
    Mesh.DeleteVertexInstance(FVertexInstanceID(5), &Vertices);
    EXPECT_EQ(Values(Vertices), (TArray<int32>{2}));

    Vertices.Empty();
    Mesh.DeleteEdge(FEdgeID(5), &Vertices);
    EXPECT_TRUE(Vertices.IsEmpty()) << "v1 keeps edges E0 and E1, v2 keeps E6";
    Mesh.DeleteEdge(FEdgeID(6), &Vertices);
    EXPECT_EQ(Values(Vertices), (TArray<int32>{2}));

    EXPECT_TRUE(Mesh.IsVertexOrphaned(FVertexID(2)));
    EXPECT_FALSE(Mesh.IsVertexOrphaned(FVertexID(1))) << "v1 is still used by T0 and T3";
    Mesh.DeleteVertex(FVertexID(2));
    EXPECT_EQ(Mesh.Vertices().Num(), 5);
    ExpectConsistent(Mesh);
}

TEST(MeshDescription, DeletingAnOrphanedVertexTakesItsUnusedInstancesAndEdgesAlong)
{
    FMeshDescription Mesh = TwoQuads();
    const FVertexInstanceID Spare = Mesh.CreateVertexInstance(FVertexID(2));
    Mesh.DeleteTriangle(FTriangleID(2));
    ASSERT_TRUE(Mesh.IsVertexOrphaned(FVertexID(2)));

    Mesh.DeleteVertex(FVertexID(2));
    EXPECT_FALSE(Mesh.VertexInstances().IsValid(Spare));
    EXPECT_FALSE(Mesh.Edges().IsValid(FEdgeID(5)));
    EXPECT_FALSE(Mesh.Edges().IsValid(FEdgeID(6)));
    ExpectConsistent(Mesh);
}

TEST(MeshDescription, NewElementsTakeTheLowestFreeID)
{
    FMeshDescription Mesh = TwoQuads();
    Mesh.DeleteTriangle(FTriangleID(3));
    Mesh.DeleteTriangle(FTriangleID(1));
    EXPECT_EQ(Mesh.Triangles().GetArraySize(), 4);

    const FTriangleID First = Mesh.CreateTriangle(
        FPolygonGroupID(0), std::array{FVertexInstanceID(4), FVertexInstanceID(6), FVertexInstanceID(7)});
    const FTriangleID Second = Mesh.CreateTriangle(
        FPolygonGroupID(0), std::array{FVertexInstanceID(0), FVertexInstanceID(2), FVertexInstanceID(3)});
    const FTriangleID Third = Mesh.CreateTriangle(
        FPolygonGroupID(1), std::array{FVertexInstanceID(3), FVertexInstanceID(6), FVertexInstanceID(7)});
    EXPECT_EQ(First, FTriangleID(1));
    EXPECT_EQ(Second, FTriangleID(3));
    EXPECT_EQ(Third, FTriangleID(4));

    const FPolygonGroupID Group = Mesh.CreatePolygonGroup();
    EXPECT_EQ(Group, FPolygonGroupID(2));
    Mesh.CreatePolygonGroupWithID(FPolygonGroupID(5));
    EXPECT_EQ(Mesh.CreatePolygonGroup(), FPolygonGroupID(3)) << "the gap below an explicit ID is free";
    Mesh.CreatePolygonGroupWithID(FPolygonGroupID(4));
    EXPECT_EQ(Mesh.CreatePolygonGroup(), FPolygonGroupID(6))
        << "a gap filled by an explicit ID is no longer free";
    ExpectConsistent(Mesh);
}

TEST(MeshDescription, IndexersKeptCurrentMatchIndexersRebuiltFromScratchOrOnTheNextQuery)
{
    FMeshDescription Mesh = BuildSkinnedGrid({.QuadsX = 6, .QuadsY = 4, .NumGroups = 3});
    Mesh.DeleteTriangle(FTriangleID(7));
    Mesh.DeleteTriangle(FTriangleID(20));
    Mesh.SetPolygonPolygonGroup(FPolygonID(30), FPolygonGroupID(2));
    Mesh.CreateTriangle(FPolygonGroupID(0),
                        std::array{FVertexInstanceID(0), FVertexInstanceID(8), FVertexInstanceID(3)});
    Mesh.DeleteVertexInstance(Mesh.CreateVertexInstance(FVertexID(3)));

    FMeshDescription Rebuilt = Mesh;
    Rebuilt.ResetIndexers();
    EXPECT_FALSE(Rebuilt.AreIndexersBuilt());
    Rebuilt.BuildIndexers();
    for (const FVertexID Vertex : Mesh.Vertices().GetElementIDs())
    {
        EXPECT_EQ(SortedValues(Mesh.GetVertexVertexInstanceIDs(Vertex)),
                  SortedValues(Rebuilt.GetVertexVertexInstanceIDs(Vertex)));
        EXPECT_EQ(SortedValues(Mesh.GetVertexConnectedEdgeIDs(Vertex)),
                  SortedValues(Rebuilt.GetVertexConnectedEdgeIDs(Vertex)));
    }
    for (const FEdgeID Edge : Mesh.Edges().GetElementIDs())
    {
        EXPECT_EQ(SortedValues(Mesh.GetEdgeConnectedTriangleIDs(Edge)),
                  SortedValues(Rebuilt.GetEdgeConnectedTriangleIDs(Edge)));
    }
    for (const FPolygonGroupID Group : Mesh.PolygonGroups().GetElementIDs())
    {
        EXPECT_EQ(SortedValues(Mesh.GetPolygonGroupPolygonIDs(Group)),
                  SortedValues(Rebuilt.GetPolygonGroupPolygonIDs(Group)));
    }
    ExpectConsistent(Mesh);

    // A query after resetting the indexers rebuilds them.
    FMeshDescription Quads = TwoQuads();
    Quads.ResetIndexers();
    TArray<FEdgeID> Edges;
    Quads.DeleteTriangle(FTriangleID(2), &Edges);
    EXPECT_EQ(Values(Edges), (TArray<int32>{5, 6}));
    EXPECT_TRUE(Quads.AreIndexersBuilt());
    ExpectConsistent(Quads);
}

TEST(MeshDescription, BulkDeletionLeavesWhatDeletingOneByOneLeaves)
{
    // A grid with seams and hard edges (vertices with several instances), a two-triangle polygon, an unused
    // instance, a loose edge, a lone vertex and a hole where a triangle was deleted before.
    FMeshDescription Start =
        BuildSkinnedGrid({.QuadsX = 6, .QuadsY = 4, .NumGroups = 3, .bHardEdge = true, .bMorphTarget = true});
    const int32 GridTriangles = Start.Triangles().Num();
    Start.CreatePolygon(FPolygonGroupID(1), std::array{Start.CreateVertexInstance(FVertexID(0)),
                                                       Start.CreateVertexInstance(FVertexID(1)),
                                                       Start.CreateVertexInstance(FVertexID(8)),
                                                       Start.CreateVertexInstance(FVertexID(7))});
    Start.CreateVertexInstance(FVertexID(6));
    Start.CreateEdge(FVertexID(13), FVertexID(34));
    Start.CreateVertex();
    Start.DeleteTriangle(FTriangleID(20));

    struct FCase
    {
        const char* Name;
        TArray<FTriangleID> Triangles;
    };
    TArray<FCase> Cases = {
        {"one triangle, with repeats and IDs of no live triangle", TriangleIDs({3, 3, 20, -1, 999})},
        {"the corner quad, whose corner point has an unused instance", TriangleIDs({10, 11})},
        {"one of the polygon's two triangles", TriangleIDs({GridTriangles})},
        {"every triangle", AllTriangles(Start)},
    };
    for (const uint32 Seed : {1u, 2u, 3u})
    {
        TArray<FTriangleID> Random;
        uint32 State = Seed;
        for (const FTriangleID Triangle : AllTriangles(Start))
        {
            State = State * 1664525u + 1013904223u;
            if ((State >> 16) % 3 != 0)
            {
                Random.Add(Triangle);
            }
        }
        Cases.Add({"two thirds at random", Random});
    }
    for (const FCase& Case : Cases)
    {
        SCOPED_TRACE(Case.Name);
        TArray<FTriangleID> Live;
        for (const FTriangleID Triangle : Case.Triangles)
        {
            if (Start.Triangles().IsValid(Triangle) && !Live.Contains(Triangle))
            {
                Live.Add(Triangle);
            }
        }
        FMeshDescription OneByOne = Start;
        DeleteTrianglesAndUnusedElements(OneByOne, Live);
        FMeshDescription Bulk = Start;

        const FMeshDeletionCounts Counts = Bulk.DeleteTrianglesAndOrphans(Case.Triangles);

        EXPECT_TRUE(Bulk == OneByOne);
        EXPECT_FALSE(Bulk.AreIndexersBuilt());
        EXPECT_EQ(Counts.Triangles, Live.Num());
        EXPECT_EQ(Counts.Polygons, Start.Polygons().Num() - Bulk.Polygons().Num());
        EXPECT_EQ(Counts.Edges, Start.Edges().Num() - Bulk.Edges().Num());
        EXPECT_EQ(Counts.VertexInstances, Start.VertexInstances().Num() - Bulk.VertexInstances().Num());
        EXPECT_EQ(Counts.Vertices, Start.Vertices().Num() - Bulk.Vertices().Num());
        EXPECT_TRUE(Bulk.Vertices().IsValid(FVertexID(Start.Vertices().GetArraySize() - 1)))
            << "a vertex no deleted triangle touched stays, used or not";
        ExpectConsistent(Bulk);
        // Freed IDs are handed out lowest first, as after single deletions.
        EXPECT_EQ(Bulk.CreateVertex(), OneByOne.CreateVertex());
    }
}

TEST(MeshDescription, BulkCreationMakesWhatCreatingOneByOneMakes)
{
    // Into a description with holes: two triangles deleted alone, so their IDs and polygons are free and
    // their edges are left loose.
    FMeshDescription Holes = BuildSkinnedGrid({.QuadsX = 3, .QuadsY = 2, .NumGroups = 2, .bHardEdge = true});
    const FTriangleCorners Refill{Holes.GetTrianglePolygonGroup(FTriangleID(4)),
                                  Holes.GetTriangleVertexInstances(FTriangleID(4))};
    Holes.DeleteTriangle(FTriangleID(1));
    Holes.DeleteTriangle(FTriangleID(4));
    const FVertexInstanceID Lone = Holes.CreateVertexInstance(Holes.CreateVertex());
    const std::array<FVertexInstanceID, 3> Face = Holes.GetTriangleVertexInstances(FTriangleID(0));
    const TArray<FTriangleCorners> IntoHoles = {
        Refill,
        {FPolygonGroupID(1), {Face[2], Face[1], Face[0]}}, // every edge taken the other way round
        {FPolygonGroupID(0), {Face[0], Face[1], Lone}},    // two new edges...
        {FPolygonGroupID(1), {Lone, Face[1], Face[0]}},    // ...taken again by the next triangle
    };

    // Into a description with vertices and instances only, as a conversion or an import builds one.
    const FMeshDescription Grid =
        BuildSkinnedGrid({.QuadsX = 4, .QuadsY = 3, .NumGroups = 2, .bHardEdge = true});
    FMeshDescription Fresh = FMeshDescription::CopyWithoutElements(Grid);
    for (int32 Vertex = 0; Vertex < Grid.Vertices().Num(); ++Vertex)
    {
        Fresh.CreateVertex();
    }
    for (const FVertexInstanceID Instance : Grid.VertexInstances().GetElementIDs())
    {
        Fresh.CreateVertexInstance(Grid.GetVertexInstanceVertex(Instance));
    }
    TArray<FTriangleCorners> GridTriangles;
    for (const FTriangleID Triangle : AllTriangles(Grid))
    {
        GridTriangles.Add(
            {Grid.GetTrianglePolygonGroup(Triangle), Grid.GetTriangleVertexInstances(Triangle)});
    }
    for (const FPolygonGroupID Group : Grid.PolygonGroups().GetElementIDs())
    {
        Fresh.CreatePolygonGroupWithID(Group);
    }

    using FCase = std::pair<const FMeshDescription*, const TArray<FTriangleCorners>*>;
    for (const auto& [Start, Triangles] : {FCase{&Holes, &IntoHoles}, FCase{&Fresh, &GridTriangles}})
    {
        FMeshDescription OneByOne = *Start;
        for (const FTriangleCorners& Triangle : *Triangles)
        {
            OneByOne.CreateTriangle(Triangle.Group, Triangle.Corners);
        }
        FMeshDescription Bulk = *Start;

        Bulk.CreateTriangles(*Triangles);

        EXPECT_TRUE(Bulk == OneByOne);
        EXPECT_FALSE(Bulk.AreIndexersBuilt());
        ExpectConsistent(Bulk);
    }
}

TEST(MeshDescription, CompactRenumbersDenselyAndAttributesFollow)
{
    FMeshDescription Mesh =
        BuildSkinnedGrid({.QuadsX = 2, .QuadsY = 1, .NumGroups = 2, .bMorphTarget = true});
    FSkeletalMeshAttributes Attributes(Mesh);
    const FVector3f PositionOfV5 = Attributes.GetVertexPositions()[FVertexID(5)];
    const FVector2f UVOfI7 = Attributes.GetVertexInstanceUVs()[FVertexInstanceID(7)];
    const TArray<FBoneWeight> WeightsOfV5(Attributes.GetVertexSkinWeights().Get(FVertexID(5)).data(), 2);
    const FVector3f MorphOfV5 = Attributes.GetVertexMorphPositionDelta("Smile")[FVertexID(5)];

    DeleteTrianglesAndUnusedElements(Mesh, std::array{FTriangleID(0), FTriangleID(1)});

    const FElementIDRemappings Remap = Mesh.Compact();
    EXPECT_EQ(Remap.NewTriangleIndexLookup, (TArray<int32>{INDEX_NONE, INDEX_NONE, 0, 1}));
    EXPECT_EQ(Remap.NewVertexIndexLookup, (TArray<int32>{INDEX_NONE, 0, 1, INDEX_NONE, 2, 3}));
    EXPECT_EQ(Remap.GetRemappedVertexInstanceID(FVertexInstanceID(7)), FVertexInstanceID(3));
    EXPECT_EQ(Mesh.Triangles().GetArraySize(), 2);
    EXPECT_EQ(Mesh.Vertices().GetArraySize(), 4);
    EXPECT_EQ(Mesh.Edges().Num(), Mesh.Edges().GetArraySize());
    EXPECT_EQ(Mesh.PolygonGroups().Num(), 2) << "the emptied group survives compaction";

    const FVertexID NewV5 = Remap.GetRemappedVertexID(FVertexID(5));
    EXPECT_EQ(Attributes.GetVertexPositions()[NewV5], PositionOfV5);
    EXPECT_EQ(Attributes.GetVertexInstanceUVs()[FVertexInstanceID(3)], UVOfI7);
    EXPECT_TRUE(std::ranges::equal(Attributes.GetVertexSkinWeights().Get(NewV5), WeightsOfV5));
    EXPECT_EQ(Attributes.GetVertexMorphPositionDelta("Smile")[NewV5], MorphOfV5);
    EXPECT_EQ(Mesh.GetTriangleVertices(FTriangleID(1)),
              (std::array{Remap.GetRemappedVertexID(FVertexID(1)), NewV5,
                          Remap.GetRemappedVertexID(FVertexID(4))}));
    ExpectConsistent(Mesh);
}

TEST(MeshDescription, CopiesAreEqualAndIndependentAndAMovedFromDescriptionIsEmptyAndCanBeBuiltAgain)
{
    const FMeshDescription Original = BuildSkinnedGrid({.QuadsX = 3, .QuadsY = 2, .bMorphNormals = true});
    FMeshDescription Copy = Original;
    EXPECT_TRUE(Copy == Original);

    FSkeletalMeshAttributes(Copy).GetVertexInstanceMorphNormalDelta("Frown")[FVertexInstanceID(0)] =
        FVector3f(1, 1, 1);
    EXPECT_FALSE(Copy == Original);

    Copy = Original;
    Copy.DeleteTriangle(FTriangleID(0));
    EXPECT_FALSE(Copy == Original);
    EXPECT_EQ(Original.Triangles().Num(), 12);
    ExpectConsistent(Original);

    Copy.Empty();
    EXPECT_TRUE(FMeshDescription::CopyWithoutElements(Original) == Copy);

    FMeshDescription Mesh = TwoQuads();
    FMeshDescription Taken = std::move(Mesh);
    EXPECT_EQ(Taken.Triangles().Num(), 4);
    EXPECT_TRUE(Mesh.IsEmpty());
    EXPECT_EQ(Mesh.Vertices().Num(), 0);
    EXPECT_TRUE(Mesh.VertexAttributes().GetAttributeNames().IsEmpty());
    ExpectConsistent(Mesh);

    FSkeletalMeshAttributes Attributes(Mesh);
    Attributes.Register();
    const FVertexID Vertex = Mesh.CreateVertex();
    EXPECT_EQ(Vertex, FVertexID(0));
    EXPECT_EQ(Mesh.Vertices().Num(), 1);
    Attributes.GetVertexPositions()[Vertex] = FVector3f(1, 2, 3);
    Mesh.CreateVertexInstance(Vertex);
    ExpectConsistent(Mesh);

    Taken = std::move(Mesh);
    EXPECT_EQ(Taken.VertexInstances().Num(), 1);
    EXPECT_EQ(FSkeletalMeshAttributes(Taken).GetVertexPositions()[Vertex], FVector3f(1, 2, 3));
    EXPECT_TRUE(Mesh.IsEmpty());
    ExpectConsistent(Mesh);
}

TEST(MeshDescription, ConsistencyCheckCatchesBrokenMeshes)
{
    const auto ExpectProblem = [](const auto& Break, const char* Problem)
    {
        FMeshDescription Mesh = TwoQuads();
        Break(Mesh);
        TArray<FString> Problems;
        EXPECT_FALSE(Mesh.CheckConsistency(&Problems)) << Problem;
        EXPECT_TRUE(*Problem == '\0' || Problems.Contains(FString(Problem))) << Problem;
    };
    ExpectProblem(
        [](FMeshDescription& Mesh)
        { FMeshDescriptionTestAccess::SetInstanceVertex(Mesh, FVertexInstanceID(5), FVertexID(40)); },
        "vertex instance 5 refers to missing vertex 40");
    ExpectProblem([](FMeshDescription& Mesh)
                  { FMeshDescriptionTestAccess::SetTriangleGroup(Mesh, FTriangleID(0), FPolygonGroupID(1)); },
                  "");
    ExpectProblem([](FMeshDescription& Mesh)
                  { FMeshDescriptionTestAccess::UnlinkTriangleFromEdge(Mesh, FTriangleID(3), 2); },
                  "edge-to-triangle indexer holds 11 references, the elements make 12");
}
