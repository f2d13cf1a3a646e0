#include "RivetEditor/Private/Ops/RivetBakeSockets.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetBakeBoneOp.h"
#include "RivetEditor/Private/Ops/RivetBakePoses.h"
#include "RivetEditorLog.h"

namespace
{
/** Translation, rotation and scale each equal within this. */
constexpr double SocketTolerance = 1e-4;

bool HasMeshSocket(const USkeletalMesh& Mesh, FName SocketName)
{
    return Mesh.GetMeshOnlySocketList().ContainsByPredicate(
        [SocketName](const TObjectPtr<USkeletalMeshSocket>& Socket)
        { return Socket && Socket->SocketName == SocketName; });
}

int32 CopySkeletonSockets(USkeletalMesh& Mesh, const USkeleton& Skeleton)
{
    int32 Copied = 0;
    for (const TObjectPtr<USkeletalMeshSocket>& Shared : Skeleton.Sockets)
    {
        if (!Shared || HasMeshSocket(Mesh, Shared->SocketName) ||
            Mesh.GetRefSkeleton().FindBoneIndex(Shared->BoneName) == INDEX_NONE)
        {
            continue;
        }
        Mesh.Modify(true);
        USkeletalMeshSocket* Copy = NewObject<USkeletalMeshSocket>(&Mesh);
        Copy->SocketName = Shared->SocketName;
        Copy->BoneName = Shared->BoneName;
        Copy->RelativeLocation = Shared->RelativeLocation;
        Copy->RelativeRotation = Shared->RelativeRotation;
        Copy->RelativeScale = Shared->RelativeScale;
        Mesh.GetMeshOnlySocketList().Add(Copy);
        ++Copied;
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] Socket '%s' copied from the skeleton to the mesh",
               Shared->SocketName.GetPlainName());
    }
    return Copied;
}

/** Gives the socket the transform that keeps its place relative to its bone's new pose; true when changed. */
bool UpdateSocket(USkeletalMeshSocket& Socket, const FRivetBakePoses& Poses)
{
    const int32 Bone = Poses.FindPosedBone(Socket.BoneName);
    if (Bone == INDEX_NONE)
    {
        return false;
    }
    const FTransform Old(Socket.RelativeRotation.Quaternion(), Socket.RelativeLocation, Socket.RelativeScale);
    const FTransform New = Old * Poses.PoseToNewReference(Bone);
    if (New.Equals(Old, SocketTolerance))
    {
        return false;
    }
    Socket.Modify(true);
    Socket.RelativeLocation = New.GetTranslation();
    Socket.RelativeRotation = New.Rotator();
    Socket.RelativeScale = New.GetScale3D();
    return true;
}

int32 CountSocketsLeftOnSkeleton(const USkeletalMesh& Mesh, const USkeleton& Skeleton)
{
    int32 Untouched = 0;
    for (const TObjectPtr<USkeletalMeshSocket>& Shared : Skeleton.Sockets)
    {
        Untouched += Shared && !HasMeshSocket(Mesh, Shared->SocketName) ? 1 : 0;
    }
    return Untouched;
}
} // namespace

void BakeSockets(USkeletalMesh& Mesh, const FRivetBakePoses& Poses, bool bLocalizeSkeletonSockets,
                 FRivetBakeBoneResult& Result)
{
    const USkeleton* Skeleton = Mesh.GetSkeleton();
    if (bLocalizeSkeletonSockets && Skeleton)
    {
        Result.SocketsCopiedFromSkeleton = CopySkeletonSockets(Mesh, *Skeleton);
    }
    for (const TObjectPtr<USkeletalMeshSocket>& Socket : Mesh.GetMeshOnlySocketList())
    {
        Result.SocketsUpdated += Socket && UpdateSocket(*Socket, Poses) ? 1 : 0;
    }
    if (Skeleton)
    {
        Result.SkeletonSocketsLeftUntouched = CountSocketsLeftOnSkeleton(Mesh, *Skeleton);
    }
}
