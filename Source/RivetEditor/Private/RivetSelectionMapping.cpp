#include "RivetEditor/Private/RivetSelectionMapping.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetEditor/Private/RivetCentroidMatching.h"

#include <limits>

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

    // A selected ID that is no live preview triangle has no centroid, and so matches nothing.
    TArray<FVector> Centroids;
    Centroids.Reserve(SelectedTriangles.Num());
    for (const int32 PreviewTriangle : SelectedTriangles)
    {
        Centroids.Add(PreviewMesh->IsTriangle(PreviewTriangle)
                          ? PreviewMesh->GetTriCentroid(PreviewTriangle)
                          : FVector(std::numeric_limits<double>::quiet_NaN()));
    }
    // Coincident triangles (the two faces of a double-sided card) lie equally near: each preview triangle
    // takes the one facing its way and not matched yet, so a selected back face maps to the back face.
    const TArray<FTriangleID> Matches = MatchNearestCentroids(
        *Description, SelectionMatchTolerance, std::span<const FVector>(Centroids.GetData(), Centroids.Num()),
        [&](int32 Index) { return PreviewMesh->GetTriNormal(SelectedTriangles[Index]); });

    OutTriangleIDs.Reserve(Matches.Num());
    for (const FTriangleID Match : Matches)
    {
        if (Match.IsSet())
        {
            OutTriangleIDs.Add(Match);
        }
        else
        {
            ++OutUnmatchedCount;
        }
    }
    return OutUnmatchedCount == 0 && !OutTriangleIDs.IsEmpty();
}
