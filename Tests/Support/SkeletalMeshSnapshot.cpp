#include "Support/SkeletalMeshSnapshot.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Engine/SkeletalMesh/SkeletalMeshSocket.h"

FSocketSnapshot::FSocketSnapshot(const USkeletalMeshSocket& Socket)
    : SocketName(Socket.SocketName), BoneName(Socket.BoneName), Location(Socket.RelativeLocation),
      Rotation(Socket.RelativeRotation), Scale(Socket.RelativeScale)
{
}

FSkeletalMeshSnapshot::FSkeletalMeshSnapshot(const USkeletalMesh& Mesh)
    : Materials(Mesh.GetMaterials()), ImportedModel(*Mesh.GetImportedModel()), RefSkeleton(Mesh.GetRefSkeleton()),
      RefBasesInvMatrix(Mesh.GetRefBasesInvMatrix()), ImportedBounds(Mesh.GetImportedBounds()),
      DerivedDataKey(Mesh.GetDerivedDataKey())
{
    for (int32 LOD = 0; LOD < Mesh.GetLODNum(); ++LOD)
    {
        const FMeshDescription* Description = Mesh.GetMeshDescription(LOD);
        Descriptions.Add(Description ? std::optional<FMeshDescription>(*Description) : std::nullopt);
        LODInfos.Add(*Mesh.GetLODInfo(LOD));
    }
    for (const UMorphTarget* Morph : Mesh.GetMorphTargets())
    {
        MorphTargets.Add(Morph ? FMorphTargetSnapshot{Morph->GetMorphName(), Morph->GetMorphLODModels()}
                               : FMorphTargetSnapshot{});
    }
    for (const USkeletalMeshSocket* Socket : Mesh.GetMeshOnlySocketList())
    {
        Sockets.Add(FSocketSnapshot(*Socket));
    }
}
