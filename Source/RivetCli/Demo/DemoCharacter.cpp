#include "RivetCli/Demo/DemoCharacter.h"

#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Object/Transaction.h"
#include "Engine/Animation/AnimSequence.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetCli/Demo/DemoAnimation.h"
#include "RivetCli/Demo/DemoBody.h"
#include "RivetCli/Demo/DemoPhysics.h"
#include "RivetCli/Demo/DemoRig.h"
#include "VantorEd/Assets/AssetTools.h"

#include <utility>

namespace
{
constexpr EObjectFlags AssetFlags = RF_Public | RF_Standalone;

struct FDemoSocketDef
{
    const char* Name;
    const char* Bone;
    /** Relative to the bone's joint. */
    FVector Location;
    FRotator Rotation;
};

/** A grip in the right palm pointing forward, and a hat on top of the head. */
const FDemoSocketDef MeshSockets[] = {
    {"Hand_R_Weapon", "Hand_R", FVector(-1.5, 0.0, -8.0), FRotator(0.0, -90.0, 0.0)},
    {"Head_Hat", "Head", FVector(0.0, 0.0, 21.0), FRotator()},
};

/** Something carried on the back, shared by every mesh of the skeleton. */
const FDemoSocketDef SkeletonSockets[] = {
    {"Chest_Back", "Chest", FVector(0.0, 12.0, 4.0), FRotator(0.0, 90.0, 0.0)},
};

/** Keeps the open transaction, if any, from recording the new assets while it lives. */
class FUndoSuspension
{
public:
    FUndoSuspension() : Suspended(std::exchange(GUndo, nullptr)) {}
    ~FUndoSuspension() { GUndo = Suspended; }
    FUndoSuspension(const FUndoSuspension&) = delete;
    FUndoSuspension& operator=(const FUndoSuspension&) = delete;

private:
    ITransaction* Suspended;
};

USkeletalMeshSocket* MakeSocket(UObject* Outer, const FDemoSocketDef& Def)
{
    USkeletalMeshSocket* Socket = NewObject<USkeletalMeshSocket>(Outer);
    Socket->SocketName = FName(Def.Name);
    Socket->BoneName = FName(Def.Bone);
    Socket->RelativeLocation = Def.Location;
    Socket->RelativeRotation = Def.Rotation;
    return Socket;
}

void AddSlots(USkeletalMesh& Mesh)
{
    for (const FDemoSlot& Slot : GetDemoSlots())
    {
        UMaterial* Material = NewObject<UMaterial>(&Mesh, FName(FString("M_") + Slot.Name));
        Material->BaseColor = Slot.BaseColor;
        Mesh.GetMaterials().Add(FSkeletalMaterial(Material, FName(Slot.Name), FName(Slot.Name)));
    }
}

void BuildMesh(USkeletalMesh& Mesh, const FDemoRig& Rig, FDemoTessellation Tessellation)
{
    Mesh.SetRefSkeleton(Rig.GetRefSkeleton());
    Mesh.CalculateInvRefMatrices();
    AddSlots(Mesh);
    for (int32 LODIndex = 0; LODIndex < DemoCharacterLODCount; ++LODIndex)
    {
        Mesh.AddLODInfo();
        Mesh.CreateMeshDescription(LODIndex, BuildDemoBody(Rig, Tessellation));
        Mesh.CommitMeshDescription(LODIndex, FCommitMeshDescriptionParams());
        Tessellation = Tessellation.Coarser();
    }
    for (const FDemoSocketDef& Def : MeshSockets)
    {
        Mesh.GetMeshOnlySocketList().Add(MakeSocket(&Mesh, Def));
    }
}

void BuildSkeleton(USkeleton& Skeleton, const USkeletalMesh& Mesh)
{
    Skeleton.MergeBonesFrom(Mesh.GetRefSkeleton());
    for (const FDemoSocketDef& Def : SkeletonSockets)
    {
        Skeleton.Sockets.Add(MakeSocket(&Skeleton, Def));
    }
}

template <typename T>
T* NewAsset(UPackage& Package, const FString& Name)
{
    return NewObject<T>(&Package, FName(Name), AssetFlags);
}
} // namespace

FDemoCharacter BuildDemoCharacter(const FString& PackageName, const FDemoTessellation& Tessellation)
{
    FString UniquePackageName;
    FString AssetName;
    FAssetTools::Get().CreateUniqueAssetName(PackageName, FString(), UniquePackageName, AssetName);
    if (UniquePackageName.IsEmpty())
    {
        return {};
    }
    const FUndoSuspension NoUndo;
    const FDemoRig Rig;
    FDemoCharacter Character;
    Character.Package = CreatePackage(UniquePackageName);
    Character.Mesh = NewAsset<USkeletalMesh>(*Character.Package, AssetName);
    Character.Skeleton = NewAsset<USkeleton>(*Character.Package, AssetName + "_Skeleton");
    Character.PhysicsAsset = NewAsset<UPhysicsAsset>(*Character.Package, AssetName + "_Physics");
    UAnimSequence* Wave = NewAsset<UAnimSequence>(*Character.Package, AssetName + "_Wave");
    Character.Animations.Add(Wave);

    BuildMesh(*Character.Mesh, Rig, Tessellation);
    BuildSkeleton(*Character.Skeleton, *Character.Mesh);
    BuildDemoPhysics(*Character.PhysicsAsset, Rig);
    BuildDemoWave(*Wave, *Character.Skeleton, Rig);
    Character.Mesh->SetSkeleton(Character.Skeleton);
    Character.Mesh->SetPhysicsAsset(Character.PhysicsAsset);
    Character.Mesh->PostEditChange();
    Character.Package->SetDirtyFlag(false);
    return Character;
}
