#include "Support/SkeletalMeshSnapshot.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Engine/SkeletalMesh/SkeletalMeshSocket.h"

FSkeletalMeshSnapshot::FSkeletalMeshSnapshot(const USkeletalMesh& Mesh)
    : Materials(Mesh.GetMaterials()), RefSkeleton(Mesh.GetRefSkeleton()),
      DerivedDataKey(Mesh.GetDerivedDataKey())
{
    for (int32 LOD = 0; LOD < Mesh.GetLODNum(); ++LOD)
    {
        const FMeshDescription* Description = Mesh.GetMeshDescription(LOD);
        Descriptions.Add(Description ? std::optional<FMeshDescription>(*Description) : std::nullopt);
        LODInfos.Add(*Mesh.GetLODInfo(LOD));
    }
    for (const USkeletalMeshSocket* Socket : Mesh.GetMeshOnlySocketList())
    {
        Sockets.Add(Socket->SocketName.ToString() + "@" + Socket->BoneName.ToString());
    }
}
