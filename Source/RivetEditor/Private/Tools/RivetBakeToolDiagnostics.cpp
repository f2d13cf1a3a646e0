#include "RivetEditor/Private/Tools/RivetBakeToolDiagnostics.h"

#include "AnimGraph/Animation/AnimPreviewInstance.h"
#include "Core/Math/ForwardKinematics.h"
#include "Engine/Animation/Skeleton.h"
#include "Engine/Components/StaticMeshComponent.h"
#include "Engine/PhysicsEngine/PhysicsAsset.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditorLog.h"
#include "VantorEd/Animation/DebugSkelMeshComponent.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int32 MaxRetargetDiagnosisBones = 6;

FString NameOrUnknown(const UObject* Object)
{
    return Object ? Object->GetName() : FString("?");
}

FString DescribePhysicsAsset(const USkeletalMesh* Mesh)
{
    const UPhysicsAsset* Physics = Mesh ? Mesh->GetPhysicsAsset() : nullptr;
    if (!Physics)
    {
        return "\nPhysics asset: none assigned";
    }
    return FString::Printf("\nPhysics asset: %s (%d bodies)", *Physics->GetName(),
                           Physics->SkeletalBodySetups.Num());
}

/** The bone's change against the reference pose, or false when it cannot be measured. */
bool DescribeBoneChange(const FString& BoneName, const USkeletalMesh* Mesh, const UDebugSkelMeshComponent& Component,
                        FString& Out)
{
    if (BoneName.IsEmpty() || !Mesh)
    {
        return false;
    }
    const FReferenceSkeleton& Skeleton = Mesh->GetRefSkeleton();
    const int32 Bone = Skeleton.FindBoneIndex(FName(BoneName));
    const TArray<FTransform>& Current = Component.GetComponentSpaceTransforms();
    if (Bone == INDEX_NONE || Bone >= Skeleton.GetRefBonePose().Num() || Bone >= Current.Num())
    {
        return false;
    }
    TArray<FTransform> Reference;
    VT::Math::FillComponentSpaceTransforms(Skeleton.GetRefBonePose(), Skeleton.GetParentIndices(), Reference);
    Out += DescribeBoneDelta(BoneName, Reference[Bone].Inverse() * Current[Bone]);
    return true;
}
} // namespace

FString DescribeBoneDelta(const FString& BoneName, const FTransform& Delta)
{
    const FQuat& Rotation = Delta.GetRotation();
    const double Angle = FoldAngleDegrees(std::acos(std::clamp(Rotation.W, -1.0, 1.0)) * 360.0 / VT::Math::Pi);
    FVector Axis(Rotation.X, Rotation.Y, Rotation.Z);
    Axis = Axis.SizeSquared() < 1e-8 ? FVector(1.0, 0.0, 0.0) : Axis.GetSafeNormal();
    const double Scale = Delta.GetScale3D().X;
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Visible: bone='%s' angle=%.2f axis=(%.3f, %.3f, %.3f) scale=%.3f",
           *BoneName, Angle, Axis.X, Axis.Y, Axis.Z, Scale);
    return FString::Printf("\n  %s\n    rotate %.1f deg about (%.2f, %.2f, %.2f)\n    scale %.3f", *BoneName, Angle,
                           Axis.X, Axis.Y, Axis.Z, Scale);
}

double FoldAngleDegrees(double Degrees)
{
    double Folded = std::fmod(Degrees, 360.0);
    if (Folded < 0.0)
    {
        Folded += 360.0;
    }
    if (Folded > 180.0)
    {
        Folded -= 360.0;
    }
    return Folded;
}

FString DescribeDetected(const UDebugSkelMeshComponent* Component, const UAnimPreviewInstance* Instance)
{
    if (!Component)
    {
        VT_LOG(LogRivetEditor, Warning, "[RivetEditor] Bake: preview component not found");
        return "Preview component not found.";
    }
    const USkeletalMesh* Mesh = Component->GetSkeletalMeshAsset();
    if (!Instance)
    {
        VT_LOG(LogRivetEditor, Warning, "[RivetEditor] Bake: no PreviewInstance");
        return FString::Printf("Found preview component for '%s', but no preview instance.", *NameOrUnknown(Mesh));
    }
    const TArray<FAnimNode_ModifyBone>& Controllers = Instance->GetBoneControllers();
    FString Text = FString::Printf("Mesh: %s\nModified bones: %d", *NameOrUnknown(Mesh), Controllers.Num());
    Text += DescribePhysicsAsset(Mesh);
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Visible: mesh='%s', modified bones=%d", *NameOrUnknown(Mesh),
           Controllers.Num());
    for (const FAnimNode_ModifyBone& Controller : Controllers)
    {
        const FString BoneName = Controller.BoneToModify.ToString();
        if (!DescribeBoneChange(BoneName, Mesh, *Component, Text))
        {
            Text += FString::Printf("\n  %s  (bone not found)", *BoneName);
        }
    }
    if (Controllers.IsEmpty())
    {
        Text += "\n\nNothing changed yet. Select a bone in the Skeleton Tree, edit its Rotation or Scale, then "
                "press Refresh.";
    }
    return Text;
}

UStaticMeshComponent* FindFloorComponent(const UDebugSkelMeshComponent& Preview)
{
    const UWorld* World = Preview.GetWorld();
    UStaticMeshComponent* Floor = nullptr;
    ForEachObjectOfClass<UStaticMeshComponent>(
        [World, &Floor](UStaticMeshComponent* Candidate)
        {
            const UStaticMesh* Mesh = Candidate->GetStaticMesh();
            if (!Floor && World && Candidate->GetWorld() == World && !Candidate->GetOwner() && Mesh &&
                Mesh->GetName().Contains("floor", ESearchCase::IgnoreCase))
            {
                Floor = Candidate;
            }
        });
    return Floor;
}

void LogFloorDiagnostics(const char* Label, const UDebugSkelMeshComponent* Component)
{
    if (!Component)
    {
        return;
    }
    const FBoxSphereBounds& Bounds = Component->GetBounds();
    const double LowestZ = Bounds.Origin.Z - Bounds.BoxExtent.Z;
    const UStaticMeshComponent* Floor = FindFloorComponent(*Component);
    const FString FloorZ =
        Floor ? FString::Printf("%.3f", Floor->GetComponentLocation().Z) : FString("not found");
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] DIAG floor (%s): mesh lowest Z=%.3f, floor Z=%s", Label, LowestZ,
           *FloorZ);
}

void LogRetargetDiagnosis(const USkeletalMesh& Mesh)
{
    const USkeleton& Skeleton = *Mesh.GetSkeleton();
    const FReferenceSkeleton& SkeletonBones = Skeleton.GetReferenceSkeleton();
    const FReferenceSkeleton& MeshBones = Mesh.GetRefSkeleton();
    const TArray<FTransform>& SkeletonPoses = Skeleton.GetRefLocalPoses(NAME_None);
    VT_LOG(LogRivetEditor, Display,
           "[RivetEditor] DIAG retarget: skeleton='%s' raw=%d final=%d meshRaw=%d refLocalPoses=%d",
           *Skeleton.GetName(), SkeletonBones.GetRawBoneNum(), SkeletonBones.GetNum(), MeshBones.GetRawBoneNum(),
           SkeletonPoses.Num());
    const int32 NumBones = std::min(MeshBones.GetRawBoneNum(), MaxRetargetDiagnosisBones);
    for (int32 Bone = 0; Bone < NumBones; ++Bone)
    {
        const FName Name = MeshBones.GetRawRefBoneInfo()[Bone].Name;
        const int32 SkeletonBone = SkeletonBones.FindRawBoneIndex(Name);
        const double MeshLength = MeshBones.GetRawRefBonePose()[Bone].GetTranslation().Size();
        const bool bInPoses = SkeletonBone >= 0 && SkeletonBone < SkeletonPoses.Num();
        const double SkeletonLength = bInPoses ? SkeletonPoses[SkeletonBone].GetTranslation().Size() : -1.0;
        const double Ratio = SkeletonLength > 0.0 ? MeshLength / SkeletonLength : -1.0;
        const bool bInTree = SkeletonBone >= 0 && SkeletonBone < Skeleton.GetBoneTree().Num();
        const int32 Mode =
            bInTree ? static_cast<int32>(Skeleton.GetBoneTree()[SkeletonBone].TranslationRetargetingMode) : 0;
        VT_LOG(LogRivetEditor, Display,
               "[RivetEditor] DIAG retarget bone '%s': mode=%d skeletonLength=%.4f meshLength=%.4f ratio=%.4f",
               *Name.ToString(), Mode, SkeletonLength, MeshLength, Ratio);
    }
}
