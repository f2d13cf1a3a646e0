#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "MeshDescription/MeshAttributes.h"
#include "RivetEditor/Private/RivetCentroidMatching.h"
#include "RivetEditor/Private/RivetSelectionMapping.h"
#include "RivetEditor/Private/RivetTriangleCentroidGrid.h"
#include "Support/ElementIDs.h"
#include "Support/MeshBuilders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace
{
/**
 * Offsets of a triangle's corners from its centroid. They sum to zero and are powers of two, so the
 * centroid of a triangle placed with them is exact in float and double alike.
 */
constexpr double Spread = 0.0625;
const FVector CornerOffsets[3] = {{Spread, 0.0, 0.0}, {-Spread, Spread, 0.0}, {0.0, -Spread, 0.0}};

/** Adds a triangle of three new vertices whose centroid is Centroid; a back face has its corners reversed. */
FTriangleID AddTriangleAt(FMeshDescription& Mesh, const FVector& Centroid, bool bBackFace = false)
{
    TMeshAttributesRef<FVertexID, FVector3f> Positions =
        Mesh.VertexAttributes().GetAttributesRef<FVector3f>(MeshAttribute::Vertex::Position);
    if (Mesh.PolygonGroups().IsEmpty())
    {
        Mesh.CreatePolygonGroup();
    }
    FVertexInstanceID Corners[3];
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        const FVertexID Vertex = Mesh.CreateVertex();
        Positions[Vertex] = FVector3f(Centroid + CornerOffsets[Corner]);
        Corners[Corner] = Mesh.CreateVertexInstance(Vertex);
    }
    if (bBackFace)
    {
        std::swap(Corners[1], Corners[2]);
    }
    return Mesh.CreateTriangle(FPolygonGroupID(0), Corners);
}

/** Adds a preview triangle of three new vertices whose centroid is Centroid; answers its ID. */
int32 AddPreviewTriangleAt(FDynamicMesh3& Mesh, const FVector& Centroid, bool bBackFace = false)
{
    const int32 A = Mesh.AppendVertex(Centroid + CornerOffsets[0]);
    const int32 B = Mesh.AppendVertex(Centroid + CornerOffsets[1]);
    const int32 C = Mesh.AppendVertex(Centroid + CornerOffsets[2]);
    return bBackFace ? Mesh.AppendTriangle({A, C, B}) : Mesh.AppendTriangle({A, B, C});
}

USkeletalMesh* MakeMesh(FMeshDescription Description)
{
    USkeletalMesh* Mesh = NewObject<USkeletalMesh>(GetTransientPackage());
    Mesh->AddLODInfo();
    Mesh->CreateMeshDescription(0, std::move(Description));
    return Mesh;
}

/** The outcome of one mapping call. */
struct FMapping
{
    bool bMatched = false;
    TArray<int32> Triangles;
    int32 Unmatched = -1;
};

FMapping Map(const USkeletalMesh* Mesh, const FDynamicMesh3* Preview, const TArray<int32>& Selected)
{
    FMapping Result;
    TArray<FTriangleID> IDs = {FTriangleID(99)}; // the call must start from an empty list
    Result.bMatched = MapSelectionToAssetTriangles(Mesh, Preview, Selected, IDs, Result.Unmatched);
    Result.Triangles = Values(IDs);
    return Result;
}

/** The preview made from the mesh's LOD 0, as the selection tool makes it. */
FDynamicMesh3 PreviewOf(const USkeletalMesh& Mesh)
{
    FDynamicMesh3 Preview;
    FMeshDescriptionToDynamicMesh().Convert(*Mesh.GetMeshDescription(0), Preview);
    return Preview;
}
} // namespace

// Nearest-centroid lookup ---------------------------------------------------------------------------

// Which centroid wins across cell borders, at the tolerance and on ties is the reference's test below.
TEST(TriangleCentroidGrid, KeepsAMinimumCellSizeAndSkipsWhatHasNoFiniteCentroidOrCell)
{
    FMeshDescription Mesh;
    const FTriangleID Broken = AddTriangleAt(Mesh, {0.0, 0.0, 0.0});
    const FTriangleID Good = AddTriangleAt(Mesh, {0.0, 0.0, 0.0});
    Mesh.VertexAttributes()
        .GetAttributesRef<FVector3f>(MeshAttribute::Vertex::Position)[Mesh.GetTriangleVertices(Broken)[0]]
        .X = std::numeric_limits<float>::infinity();
    const FTriangleCentroidGrid Grid(Mesh, 0.01);
    EXPECT_EQ(Grid.FindNearest(FVector(0.0)), Good);
    EXPECT_EQ(Grid.GetCellSize(), 0.01);
    EXPECT_EQ(FTriangleCentroidGrid(Mesh, 0.00001).GetCellSize(), 0.0001) << "never below the minimum";
    EXPECT_FALSE(FTriangleCentroidGrid(FMeshDescription(), 0.01).FindNearest(FVector(0.0)).IsSet());
    EXPECT_FALSE(Grid.FindNearest(FVector(std::numeric_limits<double>::quiet_NaN())).IsSet());
    EXPECT_FALSE(Grid.FindNearest(FVector(1.0e300)).IsSet());
}

/**
 * The lookup as plainly as it can be written: every cell's triangles in ascending ID order, the 27 cells
 * around the point visited x outermost, then y, then z, and only strictly nearer candidates taken.
 */
class FReferenceCentroidLookup
{
public:
    FReferenceCentroidLookup(const FMeshDescription& Mesh, double InTolerance) : Tolerance(InTolerance)
    {
        const TMeshAttributesConstRef<FVertexID, FVector3f> Positions =
            Mesh.VertexAttributes().GetAttributesRef<FVector3f>(MeshAttribute::Vertex::Position);
        for (const FTriangleID Triangle : Mesh.Triangles().GetElementIDs())
        {
            FVector Sum(0.0);
            for (const FVertexID Vertex : Mesh.GetTriangleVertices(Triangle))
            {
                Sum += FVector(Positions[Vertex]);
            }
            const FVector Centroid = Sum / 3.0;
            Centroids.push_back({Centroid, Triangle.GetValue()});
            Cells[CellOf(Centroid)].push_back(Centroids.size() - 1);
        }
    }

    int32 FindNearest(const FVector& Point) const
    {
        const auto [X, Y, Z] = CellOf(Point);
        int32 Best = INDEX_NONE;
        double BestDistanceSquared = std::numeric_limits<double>::infinity();
        for (int64 DX = -1; DX <= 1; ++DX)
            for (int64 DY = -1; DY <= 1; ++DY)
                for (int64 DZ = -1; DZ <= 1; ++DZ)
                {
                    const auto Cell = Cells.find({X + DX, Y + DY, Z + DZ});
                    if (Cell == Cells.end())
                    {
                        continue;
                    }
                    for (const size_t Index : Cell->second)
                    {
                        const double DistanceSquared = (Centroids[Index].first - Point).SizeSquared();
                        if (DistanceSquared <= Tolerance * Tolerance && DistanceSquared < BestDistanceSquared)
                        {
                            Best = Centroids[Index].second;
                            BestDistanceSquared = DistanceSquared;
                        }
                    }
                }
        return Best;
    }

private:
    using FCell = std::tuple<int64, int64, int64>;

    FCell CellOf(const FVector& Point) const
    {
        const double Size = std::max(Tolerance, FTriangleCentroidGrid::MinCellSize);
        return {static_cast<int64>(std::floor(Point.X / Size)),
                static_cast<int64>(std::floor(Point.Y / Size)),
                static_cast<int64>(std::floor(Point.Z / Size))};
    }

    double Tolerance;
    std::vector<std::pair<FVector, int32>> Centroids;
    std::map<FCell, std::vector<size_t>> Cells;
};

TEST(TriangleCentroidGrid, AgreesWithVisitingTheCellsInOrderOnRandomClusters)
{
    // Centroids and points on a fine lattice around the origin, so that many lie within the tolerance of
    // each other, many are equally far, some coincide and cells on both sides of zero are used.
    std::mt19937 Random(20261206);
    for (const double Tolerance : {0.01, 0.00001})
    {
        SCOPED_TRACE(Tolerance);
        const double Lattice = Tolerance / 4.0;
        std::uniform_int_distribution<int32> Steps(-40, 40);
        const auto RandomPoint = [&]
        {
            return FVector(Steps(Random) * Lattice, Steps(Random) * Lattice, Steps(Random) * Lattice);
        };

        FMeshDescription Mesh;
        for (int32 Triangle = 0; Triangle < 3000; ++Triangle)
        {
            AddTriangleAt(Mesh, RandomPoint());
        }
        const FTriangleCentroidGrid Grid(Mesh, Tolerance);
        const FReferenceCentroidLookup Reference(Mesh, Tolerance);
        int32 Matches = 0;
        for (int32 Query = 0; Query < 20000; ++Query)
        {
            const FVector Point = RandomPoint();
            const int32 Expected = Reference.FindNearest(Point);
            ASSERT_EQ(Grid.FindNearest(Point).GetValue(), Expected)
                << Point.X << ", " << Point.Y << ", " << Point.Z;
            Matches += Expected != INDEX_NONE;
        }
        EXPECT_GT(Matches, 10000) << "most points should find a centroid";
    }
}

/** Matches Points one after another through the grid, each taking what it matched from the later ones. */
TArray<FTriangleID> MatchOneAfterAnother(const FMeshDescription& Mesh, double Tolerance,
                                         const std::vector<FVector>& Points,
                                         const std::vector<FVector>& Normals)
{
    const FTriangleCentroidGrid Grid(Mesh, Tolerance);
    TArray<uint8> Taken;
    Taken.Init(0, Mesh.Triangles().GetArraySize());
    TArray<FTriangleID> Matches;
    for (size_t Index = 0; Index < Points.size(); ++Index)
    {
        const FTriangleCentroidGrid::FTieBreak TieBreak{Normals[Index], &Taken};
        Matches.Add(Grid.FindNearest(Points[Index], &TieBreak));
        if (Matches.Last().IsSet())
        {
            Taken[Matches.Last().GetValue()] = 1;
        }
    }
    return Matches;
}

TEST(CentroidMatching, MatchesAsTheGridDoesPointAfterPointAlsoWhereTheExtentIsTooLargeToNumberItsCells)
{
    // Front and back faces on a coarse lattice, so that many coincide or lie equally far from a point, and
    // points on a finer one reaching some cells past them, some repeated, facing either way or neither.
    std::mt19937 Random(20261207);
    for (const double Tolerance : {0.01, 0.00001})
    {
        SCOPED_TRACE(Tolerance);
        std::uniform_int_distribution<int32> Choice(0, 2);
        const auto LatticePoint = [&](int32 Steps, double Spacing)
        {
            std::uniform_int_distribution<int32> Step(-Steps, Steps);
            return FVector(Step(Random), Step(Random), Step(Random)) * Spacing;
        };
        FMeshDescription Mesh;
        for (int32 Triangle = 0; Triangle < 4000; ++Triangle)
        {
            AddTriangleAt(Mesh, LatticePoint(14, Tolerance / 2.0), /*bBackFace=*/Choice(Random) == 0);
        }
        const FVector Facings[3] = {{0.0, 0.0, 1.0}, {0.0, 0.0, -1.0}, FVector(0.0)};
        std::vector<FVector> Points;
        std::vector<FVector> Normals;
        for (int32 Point = 0; Point < 6000; ++Point)
        {
            Points.push_back(Point % 7 == 3 ? Points[Point / 2] : LatticePoint(40, Tolerance / 4.0));
            Normals.push_back(Facings[Choice(Random)]);
        }
        Points[17] = FVector(std::numeric_limits<double>::quiet_NaN());
        Points[18] = FVector(1.0e300);
        const auto Match = [&](const FMeshDescription& Description)
        {
            return MatchNearestCentroids(Description, Tolerance, Points,
                                         [&](int32 Index) { return Normals[Index]; });
        };

        const TArray<int32> Expected = Values(MatchOneAfterAnother(Mesh, Tolerance, Points, Normals));
        EXPECT_EQ(Values(Match(Mesh)), Expected);
        EXPECT_GT(std::count_if(Expected.begin(), Expected.end(), [](int32 ID) { return ID != INDEX_NONE; }),
                  1500);
        AddTriangleAt(Mesh, FVector(1.0e15, -1.0e15, 1.0e15)); // far enough to match through the hash grid
        EXPECT_EQ(Values(Match(Mesh)), Expected);
        TArray<FTriangleID> None;
        None.Init(FTriangleID::Invalid(), static_cast<int32>(Points.size()));
        EXPECT_EQ(MatchNearestCentroids(FMeshDescription(), Tolerance, Points, nullptr), None);
    }
}

// Mapping a preview selection ------------------------------------------------------------------------

class SelectionMappingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Mesh = MakeMesh(BuildSkinnedGrid({.QuadsX = 4, .QuadsY = 3, .NumGroups = 2}));
        Preview = PreviewOf(*Mesh);
    }

    USkeletalMesh* Mesh = nullptr;
    FDynamicMesh3 Preview;
};

TEST_F(SelectionMappingTest, TheToolsPreviewMapsOntoTheSameTrianglesInSelectionOrderRepeatsIncluded)
{
    const FMapping Result = Map(Mesh, &Preview, {7, 0, 23, 12});
    EXPECT_TRUE(Result.bMatched);
    EXPECT_EQ(Result.Triangles, (TArray<int32>{7, 0, 23, 12}));
    EXPECT_EQ(Result.Unmatched, 0);

    const int32 Copy = AddPreviewTriangleAt(Preview, Preview.GetTriCentroid(5) + FVector(0.004, 0.0, 0.0));
    EXPECT_EQ(Map(Mesh, &Preview, {5, Copy}).Triangles, (TArray<int32>{5, 5}));
}

TEST_F(SelectionMappingTest, NothingMapsWithoutASelectionAnAssetAPreviewOrADescription)
{
    const FMapping Empty = Map(Mesh, &Preview, {});
    const FMapping NoAsset = Map(nullptr, &Preview, {0, 1});
    const FMapping NoPreview = Map(Mesh, nullptr, {0, 1});
    Mesh->ClearMeshDescription(0);
    const FMapping NoDescription = Map(Mesh, &Preview, {0, 1});
    for (const FMapping& Result : {Empty, NoAsset, NoPreview, NoDescription})
    {
        EXPECT_FALSE(Result.bMatched);
        EXPECT_TRUE(Result.Triangles.IsEmpty());
        EXPECT_EQ(Result.Unmatched, 0);
    }
}

TEST_F(SelectionMappingTest, StaleAndFarPreviewTrianglesCountAsUnmatchedAndFailTheWhole)
{
    const int32 Far = AddPreviewTriangleAt(Preview, Preview.GetTriCentroid(4) + FVector(0.0, 0.0, 0.011));
    ASSERT_TRUE(Preview.RemoveTriangle(3));

    const FMapping Result = Map(Mesh, &Preview, {2, 3, -1, 5000, Far, 4});
    EXPECT_FALSE(Result.bMatched);
    EXPECT_EQ(Result.Triangles, (TArray<int32>{2, 4})) << "the matches found are still listed";
    EXPECT_EQ(Result.Unmatched, 4);
}

// An asset changed since its preview was made is DeletePolygonsToolTest's (SelectionsThatMatchNothing...).

TEST(SelectionMapping, CoincidentTrianglesMapByFacingThenToOnesNotMatchedYet)
{
    // Front and back of a card, then two stacked copies of one face, each pair at one centroid.
    const FVector Card(1.0, 0.0, 0.0);
    const FVector Stack(2.0, 0.0, 0.0);
    FMeshDescription Description;
    AddTriangleAt(Description, Card);
    AddTriangleAt(Description, Card, /*bBackFace=*/true);
    AddTriangleAt(Description, Stack);
    AddTriangleAt(Description, Stack);
    const USkeletalMesh* Mesh = MakeMesh(std::move(Description));
    FDynamicMesh3 Preview;
    const int32 Back = AddPreviewTriangleAt(Preview, Card, /*bBackFace=*/true);
    const int32 Front = AddPreviewTriangleAt(Preview, Card);
    const int32 Upper = AddPreviewTriangleAt(Preview, Stack);
    const int32 Lower = AddPreviewTriangleAt(Preview, Stack);

    EXPECT_EQ(Map(Mesh, &Preview, {Back}).Triangles, (TArray<int32>{1}));
    EXPECT_EQ(Map(Mesh, &Preview, {Back, Front, Upper, Lower}).Triangles, (TArray<int32>{1, 0, 2, 3}));
    EXPECT_EQ(Map(Mesh, &Preview, {Front, Front}).Triangles, (TArray<int32>{0, 0}))
        << "a face is preferred to the other side even when taken";
}
