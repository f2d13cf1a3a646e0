#include "RivetEditor/Private/RivetSelectionMapping.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
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
    OutTriangleIDs.Reserve(SelectedTriangles.Num());
    for (const int32 PreviewTriangle : SelectedTriangles)
    {
        const FTriangleID Match = PreviewMesh->IsTriangle(PreviewTriangle)
                                      ? Grid.FindNearest(PreviewMesh->GetTriCentroid(PreviewTriangle))
                                      : FTriangleID::Invalid();
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
