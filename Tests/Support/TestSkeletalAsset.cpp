#include "Support/TestSkeletalAsset.h"

#include "CoreUObject/Misc/PackageName.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/Animation/AnimSequence.h"
#include "Engine/PhysicsEngine/PhysicsAsset.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/MeshBuilders.h"

namespace
{
enum EBone : uint16
{
    Root,
    Spine,
    Arm,
    Head,
};

const char* const DependentSuffixes[] = {"", "_Skeleton", "_Physics", "_Walk"};

bool IsBaseNameTaken(const FString& Base)
{
    for (const char* Suffix : DependentSuffixes)
    {
        if (FindPackage(Base + Suffix) != nullptr)
        {
            return true;
        }
    }
    return false;
}

/** A base name for which the mesh's package and every dependent asset's package are free. */
FString UniquePackageName(const FString& Requested)
{
    FString Name = Requested;
    for (int32 Suffix = 1; IsBaseNameTaken(Name); ++Suffix)
    {
        Name = FString::Printf("%s_%d", *Requested, Suffix);
    }
    return Name;
}

template <typename T>
T* NewAsset(const FString& PackageName)
{
    UPackage* Package = CreatePackage(PackageName);
    return NewObject<T>(Package, FName(FPackageName::GetShortName(PackageName)), RF_Public | RF_Standalone);
}

FReferenceSkeleton MakeBones()
{
    FReferenceSkeleton Bones;
    FReferenceSkeletonModifier Modifier(Bones, nullptr);
    Modifier.Add({FName("Root"), INDEX_NONE}, FTransform::Identity);
    Modifier.Add({FName("Spine"), Root}, FTransform(FVector(2.0, 0.0, 0.0)));
    Modifier.Add({FName("Arm"), Spine}, FTransform(FVector(2.0, 0.0, 0.0)));
    Modifier.Add({FName("Head"), Spine}, FTransform(FVector(0.0, 2.0, 0.0)));
    return Bones;
}

/** Spine fades into the arm along X; the top rows also follow the head. Raw weights sum to 65535. */
void SkinToBones(FMeshDescription& Description, int32 QuadsX, int32 QuadsY)
{
    FSkeletalMeshAttributes Attributes(Description);
    const auto Positions = Attributes.GetVertexPositions();
    const auto Weights = Attributes.GetVertexSkinWeights();
    TArray<FBoneWeight> Influences;
    for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
    {
        const double Along = Positions[Vertex].X / QuadsX;
        const double HeadShare = Positions[Vertex].Y >= QuadsY - 1 ? 0.25 : 0.0;
        const uint16 ArmWeight = static_cast<uint16>((1.0 - HeadShare) * Along * FBoneWeight::MaxRawWeight);
        const uint16 HeadWeight = static_cast<uint16>(HeadShare * FBoneWeight::MaxRawWeight);
        Influences.Reset();
        Influences.Add(
            FBoneWeight{Spine, static_cast<uint16>(FBoneWeight::MaxRawWeight - ArmWeight - HeadWeight)});
        if (ArmWeight > 0)
        {
            Influences.Add(FBoneWeight{Arm, ArmWeight});
        }
        if (HeadWeight > 0)
        {
            Influences.Add(FBoneWeight{Head, HeadWeight});
        }
        Weights.Set(Vertex, Influences);
    }
}

FMeshDescription MakeLODGeometry(const FTestSkeletalAssetOptions& Options, int32 LODIndex)
{
    const FSkinnedGridOptions Grid{.QuadsX = std::max(1, Options.QuadsX >> LODIndex),
                                   .QuadsY = std::max(1, Options.QuadsY >> LODIndex),
                                   .NumGroups = Options.NumSlots,
                                   .bEmptyGroup = Options.bEmptySlot && LODIndex == 0,
                                   .bMorphTarget = true,
                                   .bMorphNormals = Options.bMorphNormals};
    FMeshDescription Description = BuildSkinnedGrid(Grid);
    SkinToBones(Description, Grid.QuadsX, Grid.QuadsY);
    return Description;
}

USkeletalMeshSocket* MakeSocket(UObject* Outer, const char* SocketName, const char* BoneName)
{
    USkeletalMeshSocket* Socket = NewObject<USkeletalMeshSocket>(Outer);
    Socket->SocketName = FName(SocketName);
    Socket->BoneName = FName(BoneName);
    Socket->RelativeLocation = FVector(0.5, 0.0, 0.25);
    Socket->RelativeRotation = FRotator(0.0, 90.0, 0.0);
    return Socket;
}

void BuildMesh(USkeletalMesh& Mesh, const FTestSkeletalAssetOptions& Options)
{
    Mesh.SetRefSkeleton(MakeBones());
    Mesh.CalculateInvRefMatrices();
    const int32 NumSlots = Options.NumSlots + (Options.bEmptySlot ? 1 : 0);
    for (int32 Slot = 0; Slot < NumSlots; ++Slot)
    {
        const FName SlotName(Slot < Options.NumSlots ? FString::Printf("Slot_%d", Slot) : FString("Unused"));
        UMaterial* Material =
            NewObject<UMaterial>(&Mesh, FName(FString::Printf("M_%s", *SlotName.ToString())));
        Mesh.GetMaterials().Add(FSkeletalMaterial(Material, SlotName, SlotName));
    }
    for (int32 LODIndex = 0; LODIndex < Options.NumLODs; ++LODIndex)
    {
        Mesh.AddLODInfo();
        Mesh.CreateMeshDescription(LODIndex, MakeLODGeometry(Options, LODIndex));
        Mesh.CommitMeshDescription(LODIndex, FCommitMeshDescriptionParams());
    }
    Mesh.GetMeshOnlySocketList().Add(MakeSocket(&Mesh, "Weapon", "Arm"));
    Mesh.PostEditChange();
}

void BuildSkeleton(USkeleton& Skeleton, const USkeletalMesh& Mesh)
{
    Skeleton.MergeBonesFrom(Mesh.GetRefSkeleton());
    Skeleton.Sockets.Add(MakeSocket(&Skeleton, "Hat", "Head"));
}

USkeletalBodySetup* AddBody(UPhysicsAsset& PhysicsAsset, const char* BoneName)
{
    USkeletalBodySetup* Body = NewObject<USkeletalBodySetup>(&PhysicsAsset);
    Body->BoneName = FName(BoneName);
    PhysicsAsset.SkeletalBodySetups.Add(Body);
    return Body;
}

void AddConstraint(UPhysicsAsset& PhysicsAsset, const char* Parent, const char* Child, const FVector& Offset)
{
    UPhysicsConstraintTemplate* Constraint = NewObject<UPhysicsConstraintTemplate>(&PhysicsAsset);
    Constraint->DefaultInstance.ConstraintBone1 = FName(Child);
    Constraint->DefaultInstance.ConstraintBone2 = FName(Parent);
    Constraint->DefaultInstance.Position2 = Offset;
    Constraint->DefaultInstance.LinearLimit = 0.5f;
    PhysicsAsset.ConstraintSetup.Add(Constraint);
}

void BuildPhysics(UPhysicsAsset& PhysicsAsset)
{
    FKAggregateGeometry& Spine = AddBody(PhysicsAsset, "Spine")->AggGeom;
    Spine.SphereElems.Add(FKSphereElem{FName("Chest"), FVector(0.5, 0.0, 0.0), 1.0f});
    Spine.CapsuleElems.Add(FKCapsuleElem{NAME_None, FVector(1.0, 0.0, 0.0), FRotator(), 0.5f, 2.0f});

    FKAggregateGeometry& Arm = AddBody(PhysicsAsset, "Arm")->AggGeom;
    Arm.BoxElems.Add(FKBoxElem{NAME_None, FVector(1.0, 0.0, 0.0), FRotator(), 2.0f, 0.5f, 0.5f});
    FKConvexElem Hull;
    Hull.VertexData = {FVector(0, 0, 0), FVector(1, 0, 0), FVector(0, 1, 0), FVector(0, 0, 1)};
    Hull.UpdateElemBox();
    Arm.ConvexElems.Add(Hull);
    Arm.TaperedCapsuleElems.Add(
        FKTaperedCapsuleElem{NAME_None, FVector(1.5, 0.0, 0.0), FRotator(), 0.25f, 0.5f, 1.5f});

    FKAggregateGeometry& Head = AddBody(PhysicsAsset, "Head")->AggGeom;
    Head.SphereElems.Add(FKSphereElem{FName("Skull"), FVector(0.0, 0.5, 0.0), 0.75f});
    FKLevelSetElem LevelSet;
    LevelSet.GridDims = FGridDimensions{2, 2, 2};
    LevelSet.CellSize = 0.5;
    LevelSet.Distances = {-0.1f, 0.1f, 0.1f, 0.2f, 0.1f, 0.2f, 0.2f, 0.3f};
    Head.LevelSetElems.Add(LevelSet);
    FKSkinnedLevelSetElem SkinnedLevelSet;
    static_cast<FKLevelSetElem&>(SkinnedLevelSet) = LevelSet;
    SkinnedLevelSet.BoneNames = {FName("Head")};
    SkinnedLevelSet.LatticeDims = FGridDimensions{2, 2, 2};
    SkinnedLevelSet.LatticeBoneWeights.Init(1.0f, 8);
    Head.SkinnedLevelSetElems.Add(SkinnedLevelSet);

    AddConstraint(PhysicsAsset, "Spine", "Arm", FVector(2.0, 0.0, 0.0));
    AddConstraint(PhysicsAsset, "Spine", "Head", FVector(0.0, 2.0, 0.0));
}

void BuildAnimation(UAnimSequence& Animation, USkeleton& Skeleton)
{
    Animation.SetSkeleton(&Skeleton);
    Animation.EnsureDataModel();
    FAnimationDataController& Controller = Animation.GetController();
    Controller.OpenBracket(FText::FromString("Build"), false);
    Controller.SetNumberOfKeys(3, false);
    for (const char* Bone : {"Root", "Spine"})
    {
        const FName BoneName(Bone);
        const FVector3f Base = BoneName == FName("Root") ? FVector3f(0, 0, 0) : FVector3f(2, 0, 0);
        Controller.AddBoneTrack(BoneName, false);
        Controller.SetBoneTrackKeys(BoneName, {Base, Base + FVector3f(0, 0, 0.5f), Base},
                                    {FQuat4f::Identity, FQuat4f(FVector3f(0, 0, 1), 0.3f), FQuat4f::Identity},
                                    {FVector3f(1, 1, 1), FVector3f(1, 1, 1), FVector3f(1, 1, 1)}, false);
    }
    Controller.CloseBracket(false);
}
} // namespace

FTestSkeletalAsset BuildTestSkeletalAsset(const FTestSkeletalAssetOptions& Options)
{
    const FString Base = UniquePackageName(Options.PackageName);
    FTestSkeletalAsset Asset;
    Asset.Mesh = NewAsset<USkeletalMesh>(Base);
    Asset.Skeleton = NewAsset<USkeleton>(Base + "_Skeleton");
    Asset.PhysicsAsset = NewAsset<UPhysicsAsset>(Base + "_Physics");
    Asset.Animation = NewAsset<UAnimSequence>(Base + "_Walk");

    BuildMesh(*Asset.Mesh, Options);
    BuildSkeleton(*Asset.Skeleton, *Asset.Mesh);
    BuildPhysics(*Asset.PhysicsAsset);
    BuildAnimation(*Asset.Animation, *Asset.Skeleton);
    Asset.Mesh->SetSkeleton(Asset.Skeleton);
    Asset.Mesh->SetPhysicsAsset(Asset.PhysicsAsset);

    for (UObject* Object :
         {static_cast<UObject*>(Asset.Mesh), static_cast<UObject*>(Asset.Skeleton),
          static_cast<UObject*>(Asset.PhysicsAsset), static_cast<UObject*>(Asset.Animation)})
    {
        Object->GetPackage()->SetDirtyFlag(false);
    }
    return Asset;
}
