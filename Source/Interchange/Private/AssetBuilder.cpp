#include "Interchange/Private/AssetBuilder.h"

#include "CoreUObject/Object/Package.h"
#include "Engine/Animation/AnimSequence.h"
#include "Engine/PhysicsEngine/PhysicsAsset.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Private/ImportPackageScope.h"
#include "Interchange/Private/UniqueNameSet.h"

#include <cctype>
#include <utility>

namespace
{
constexpr EObjectFlags AssetFlags = RF_Public | RF_Standalone;

/** Object names unique within their outer, made only of characters that paths allow. */
class FNamePool
{
public:
    FName Take(const FString& Wanted, const char* Fallback = "Asset")
    {
        FString Clean;
        for (const char Character : Wanted.View())
        {
            const bool bKeep =
                std::isalnum(static_cast<unsigned char>(Character)) || Character == '_' || Character == '-';
            Clean += bKeep ? Character : '_';
        }
        return FName(Names.Take(Clean, Fallback));
    }

private:
    FUniqueNameSet Names;
};

USkeletalMeshSocket* MakeSocket(UObject* Outer, const FImportedSocket& Source)
{
    USkeletalMeshSocket* Socket = NewObject<USkeletalMeshSocket>(Outer);
    Socket->SocketName = Source.SocketName;
    Socket->BoneName = Source.BoneName;
    Socket->RelativeLocation = Source.Location;
    Socket->RelativeRotation = Source.Rotation;
    Socket->RelativeScale = Source.Scale;
    Socket->bForceAlwaysAnimated = Source.bForceAlwaysAnimated;
    return Socket;
}

/** The mesh's materials, one object per distinct material of the file, so that slots may share one. */
class FMaterialPool
{
public:
    explicit FMaterialPool(USkeletalMesh& InMesh) : Mesh(InMesh) {}

    UMaterial* FindOrMake(const FImportedMaterial& Wanted)
    {
        for (const auto& [Source, Material] : Made)
        {
            if (Source == Wanted)
            {
                return Material;
            }
        }
        UMaterial* Material = NewObject<UMaterial>(&Mesh, Names.Take(Wanted.Name, "Material"));
        Material->BaseColor = Wanted.BaseColor;
        Material->Metallic = Wanted.Metallic;
        Material->Roughness = Wanted.Roughness;
        Material->bTwoSided = Wanted.bTwoSided;
        Made.Add({Wanted, Material});
        return Material;
    }

private:
    USkeletalMesh& Mesh;
    FNamePool Names;
    TArray<std::pair<FImportedMaterial, UMaterial*>> Made;
};

void AddSlots(USkeletalMesh& Mesh, const TArray<FImportedSlot>& Slots)
{
    FMaterialPool Materials(Mesh);
    for (const FImportedSlot& Slot : Slots)
    {
        UMaterial* Material = Slot.bHasMaterial ? Materials.FindOrMake(Slot.Material) : nullptr;
        FSkeletalMaterial& Added =
            Mesh.GetMaterials().Emplace_GetRef(Material, Slot.SlotName, Slot.ImportedSlotName);
        Added.bCastShadow = Slot.bCastShadow;
        Added.bRecomputeTangents = Slot.bRecomputeTangents;
        Added.UVChannelData.bInitialized = Slot.bHasUVDensities;
        for (int32 Index = 0; Index < 4; ++Index)
        {
            Added.UVChannelData.LocalUVDensities[Index] = Slot.UVDensities[Index];
        }
    }
}

void AddLODs(USkeletalMesh& Mesh, TArray<FImportedLOD>& LODs)
{
    for (int32 LODIndex = 0; LODIndex < LODs.Num(); ++LODIndex)
    {
        Mesh.AddLODInfo();
        *Mesh.GetLODInfo(LODIndex) = LODs[LODIndex].Info;
        Mesh.CreateMeshDescription(LODIndex, std::move(LODs[LODIndex].Description));
        FCommitMeshDescriptionParams Params;
        Params.bRecomputeNormals = LODs[LODIndex].bRecomputeNormals;
        Mesh.CommitMeshDescription(LODIndex, Params);
    }
}

USkeleton* BuildSkeleton(UPackage& Package, FName Name, const FImportedScene& Scene,
                         const USkeletalMesh& Mesh)
{
    USkeleton* Skeleton = NewObject<USkeleton>(&Package, Name, AssetFlags);
    Skeleton->MergeBonesFrom(Mesh.GetRefSkeleton());
    for (int32 Bone = 0; Bone < Scene.RetargetingModes.Num(); ++Bone)
    {
        if (Scene.RetargetingModes[Bone] != EBoneTranslationRetargetingMode::Animation)
        {
            Skeleton->SetBoneTranslationRetargetingMode(Bone, Scene.RetargetingModes[Bone]);
        }
    }
    for (const FImportedSocket& Socket : Scene.SkeletonSockets)
    {
        Skeleton->Sockets.Add(MakeSocket(Skeleton, Socket));
    }
    return Skeleton;
}

UPhysicsAsset* BuildPhysics(UPackage& Package, FName Name, const FImportedPhysics& Physics)
{
    UPhysicsAsset* Asset = NewObject<UPhysicsAsset>(&Package, Name, AssetFlags);
    for (const FImportedBody& Source : Physics.Bodies)
    {
        USkeletalBodySetup* Body = NewObject<USkeletalBodySetup>(Asset);
        Body->BoneName = Source.BoneName;
        Body->AggGeom = Source.Geometry;
        Asset->SkeletalBodySetups.Add(Body);
    }
    for (const FPhysicsConstraintSetup& Setup : Physics.Constraints)
    {
        UPhysicsConstraintTemplate* Constraint = NewObject<UPhysicsConstraintTemplate>(Asset);
        Constraint->DefaultInstance = Setup;
        Asset->ConstraintSetup.Add(Constraint);
    }
    return Asset;
}

void BuildAnimations(UPackage& Package, FNamePool& Names, TArray<FImportedAnimation>& Animations,
                     USkeleton& Skeleton, FInterchangeResult& OutResult)
{
    for (FImportedAnimation& Source : Animations)
    {
        UAnimSequence* Animation =
            NewObject<UAnimSequence>(&Package, Names.Take(Source.Name, "Animation"), AssetFlags);
        Animation->SetSkeleton(&Skeleton);
        Animation->EnsureDataModel();
        FAnimationDataController& Controller = Animation->GetController();
        Controller.OpenBracket(FText::FromString("Import"), false);
        Controller.SetFrameRate(Source.FrameRate, false);
        Controller.SetNumberOfKeys(Source.NumberOfKeys, false);
        for (const FAnimationBoneTrack& Track : Source.Tracks)
        {
            Controller.AddBoneTrack(Track.Name, false);
            Controller.SetBoneTrackKeys(Track.Name, Track.PositionKeys, Track.RotationKeys, Track.ScaleKeys,
                                        false);
        }
        Controller.CloseBracket(false);
        OutResult.Animations.Add(Animation);
    }
}
} // namespace

void BuildSkinnedMeshAssets(FImportedScene&& Scene, const FAssetTarget& Target, FInterchangeResult& OutResult)
{
    FImportPackageScope PackageScope(Target.PackageName);
    UPackage* Package = &PackageScope.GetPackage();
    FNamePool Names;
    USkeletalMesh* Mesh = NewObject<USkeletalMesh>(Package, Names.Take(Target.BaseName), AssetFlags);
    Mesh->SetRefSkeleton(Scene.Skeleton);
    Mesh->CalculateInvRefMatrices();
    AddSlots(*Mesh, Scene.Slots);
    AddLODs(*Mesh, Scene.LODs);
    for (const FImportedSocket& Socket : Scene.MeshSockets)
    {
        Mesh->GetMeshOnlySocketList().Add(MakeSocket(Mesh, Socket));
    }
    UAssetSourceFile* Source = NewObject<UAssetSourceFile>(Mesh);
    Source->Filename = Target.SourceFile;
    Source->ContentHash = Target.SourceHash;
    Mesh->SetSourceFile(Source);

    USkeleton* Skeleton = BuildSkeleton(*Package, Names.Take(Target.BaseName + "_Skeleton"), Scene, *Mesh);
    Mesh->SetSkeleton(Skeleton);
    if (Scene.bHasPhysics)
    {
        OutResult.PhysicsAsset =
            BuildPhysics(*Package, Names.Take(Target.BaseName + "_Physics"), Scene.Physics);
        Mesh->SetPhysicsAsset(OutResult.PhysicsAsset);
    }
    BuildAnimations(*Package, Names, Scene.Animations, *Skeleton, OutResult);
    Mesh->PostEditChange();
    Package->SetDirtyFlag(true);
    OutResult.Package = PackageScope.Keep();
    OutResult.Mesh = Mesh;
    OutResult.Skeleton = Skeleton;
}

void BuildAnimationAssets(FImportedScene&& Scene, USkeleton& Skeleton, const FAssetTarget& Target,
                          FInterchangeResult& OutResult)
{
    FImportPackageScope PackageScope(Target.PackageName);
    FNamePool Names;
    BuildAnimations(PackageScope.GetPackage(), Names, Scene.Animations, Skeleton, OutResult);
    PackageScope.GetPackage().SetDirtyFlag(true);
    OutResult.Package = PackageScope.Keep();
    OutResult.Skeleton = &Skeleton;
}
