#include "RivetEditor/Private/RivetSelectionMapping.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetEditor/Private/RivetTriangleCentroidGrid.h"

bool MapSelectionToAssetTriangles(const USkeletalMesh* Mesh, const FDynamicMesh3* PreviewMesh,
                                  const TArray<int32>& SelectedTriangles, TArray<FTriangleID>& OutTriangleIDs,
                                  int32& OutUnmatchedCount)
{
    OutTriangleIDs.Reset();
    OutUnmatchedCount = 0;
    const FMeshDescription* Description = Mesh && PreviewMesh ? Mesh->GetMeshDescription(0) : nullptr;
    if (!Description)
    {
        return false;
    }

    const FTriangleCentroidGrid Grid(*Description, SelectionMatchTolerance);
    // Coincident triangles (the two faces of a double-sided card) lie equally near: each preview triangle
    // takes the one facing its way and not matched yet, so a selected back face maps to the back face.
    TArray<uint8> Taken;
    Taken.Init(0, Description->Triangles().GetArraySize());
    FTriangleCentroidGrid::FTieBreak TieBreak{FVector(0.0), &Taken};
    OutTriangleIDs.Reserve(SelectedTriangles.Num());
    // The lookups read the grid at random: start loading each point's buckets some points ahead.
    TArray<FVector> Points;
    Points.Reserve(SelectedTriangles.Num());
    for (const int32 PreviewTriangle : SelectedTriangles)
    {
        Points.Add(PreviewMesh->IsTriangle(PreviewTriangle) ? PreviewMesh->GetTriCentroid(PreviewTriangle)
                                                            : FVector(0.0));
    }
    constexpr int32 BucketsAhead = 16;
    constexpr int32 EntriesAhead = 8;
    for (int32 Index = 0; Index < SelectedTriangles.Num(); ++Index)
    {
        if (Index + BucketsAhead < Points.Num())
        {
            Grid.Prefetch(Points[Index + BucketsAhead], FTriangleCentroidGrid::EPrefetch::BucketTable);
        }
        if (Index + EntriesAhead < Points.Num())
        {
            Grid.Prefetch(Points[Index + EntriesAhead], FTriangleCentroidGrid::EPrefetch::Entries);
        }
        const int32 PreviewTriangle = SelectedTriangles[Index];
        FTriangleID Match = FTriangleID::Invalid();
        if (PreviewMesh->IsTriangle(PreviewTriangle))
        {
            TieBreak.Normal = PreviewMesh->GetTriNormal(PreviewTriangle);
            Match = Grid.FindNearest(Points[Index], &TieBreak);
        }
        if (Match.IsSet())
        {
            Taken[Match.GetValue()] = 1;
            OutTriangleIDs.Add(Match);
        }
        else
        {
            ++OutUnmatchedCount;
        }
    }
    return OutUnmatchedCount == 0 && !OutTriangleIDs.IsEmpty();
}
