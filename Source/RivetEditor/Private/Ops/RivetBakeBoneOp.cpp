#include "RivetEditor/Private/Ops/RivetBakeBoneOp.h"

#include "Core/Math/ForwardKinematics.h"
#include "Core/Text/LocText.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetBakeAnimations.h"
#include "RivetEditor/Private/Ops/RivetBakePhysics.h"
#include "RivetEditor/Private/Ops/RivetBakePoseKernel.h"
#include "RivetEditor/Private/Ops/RivetBakePoses.h"
#include "RivetEditor/Private/Ops/RivetBakeReferencePose.h"
#include "RivetEditor/Private/Ops/RivetBakeRetargeting.h"
#include "RivetEditor/Private/Ops/RivetBakeSockets.h"
#include "RivetEditor/Private/Ops/RivetMeshCommit.h"
#include "RivetEditorLog.h"

#include <cmath>

#define VT_LOCTEXT_NAMESPACE "RivetBakeBoneOp"

namespace
{
/** How far apart two axes of a scale may be for it to count as uniform. */
constexpr double UniformScaleTolerance = 0.001;

bool IsUniform(const FVector& Scale)
{
    return std::abs(Scale.X - Scale.Y) <= UniformScaleTolerance &&
           std::abs(Scale.Y - Scale.Z) <= UniformScaleTolerance;
}

/** Flags, by bone index, the bones that a vertex of the description is skinned to with a weight above 0. */
void FlagSkinnedBones(const FMeshDescription& Mesh, TArray<uint8>& InOutSkinned)
{
    const auto Weights = FSkeletalMeshAttributesShared(Mesh).GetVertexSkinWeights();
    if (!Weights.IsValid())
    {
        return;
    }
    for (const FVertexID Vertex : Mesh.Vertices().GetElementIDs())
    {
        for (const FBoneWeight& Influence : Weights.Get(Vertex))
        {
            if (Influence.RawWeight > 0 && InOutSkinned.IsValidIndex(Influence.BoneIndex))
            {
                InOutSkinned[Influence.BoneIndex] = 1;
            }
        }
    }
}

/**
 * Every LOD bakes against the one reference skeleton, so a zeroed bone may carry no vertex of any LOD
 * that has a description.
 */
TArray<uint8> FindSkinnedBones(const USkeletalMesh& Mesh)
{
    TArray<uint8> Skinned;
    Skinned.Init(0, Mesh.GetRefSkeleton().GetNum());
    for (int32 LODIndex = 0; LODIndex < Mesh.GetLODNum(); ++LODIndex)
    {
        if (const FMeshDescription* Description = Mesh.GetMeshDescription(LODIndex))
        {
            FlagSkinnedBones(*Description, Skinned);
        }
    }
    return Skinned;
}

/** Looks up and checks every listed bone; the refusal, or an empty text with the indices filled in. */
FText ValidateBones(const FReferenceSkeleton& RefSkeleton, const FRivetBakeBoneParams& Params,
                    TArray<int32>& OutBoneIndices)
{
    for (const FName BoneName : Params.BoneNames)
    {
        const int32 Bone = RefSkeleton.FindBoneIndex(BoneName);
        if (Bone == INDEX_NONE)
        {
            return FText::Format(VT_LOCTEXT("BoneMissing", "Bone '{0}' is not in this skeleton."),
                                 BoneName.ToString());
        }
        OutBoneIndices.Add(Bone);
        const FVector& Scale = Params.ComponentSpacePose[Bone].GetScale3D();
        if (!IsUniform(Scale))
        {
            return FText::Format(VT_LOCTEXT("NonUniform",
                                            "Bone '{0}' has a non-uniform scale, which cannot be baked "
                                            "into a skeleton. Make the scale uniform first."),
                                 BoneName.ToString());
        }
        // A negative scale would mirror the mesh inside out, a zero one collapse it.
        if (!(Scale.X > 0.0))
        {
            return FText::Format(VT_LOCTEXT("NonPositiveScale",
                                            "Bone '{0}' has a zero or negative scale, which cannot be baked "
                                            "into a skeleton. Nothing was changed."),
                                 BoneName.ToString());
        }
    }
    return FText();
}

FText ValidateZeroing(const USkeletalMesh& Mesh, const TArray<int32>& BoneIndices)
{
    const TArray<uint8> Skinned = FindSkinnedBones(Mesh);
    for (const int32 Bone : BoneIndices)
    {
        if (Skinned[Bone])
        {
            return FText::Format(VT_LOCTEXT("BoneIsSkinned",
                                            "Bone '{0}' has vertices skinned to it. Zeroing it would change "
                                            "how the mesh deforms, so nothing was changed."),
                                 Mesh.GetRefSkeleton().GetBoneName(Bone).ToString());
        }
    }
    return FText();
}

/** Checks the call before anything changes: the refusal, or an empty text with the bone indices filled in. */
FText ValidateBake(const USkeletalMesh* Mesh, const FRivetBakeBoneParams& Params,
                   TArray<int32>& OutBoneIndices)
{
    if (!Mesh)
    {
        return VT_LOCTEXT("NoMesh", "No skeletal mesh.");
    }
    if (Params.ComponentSpacePose.Num() != Mesh->GetRefSkeleton().GetNum())
    {
        return VT_LOCTEXT("PoseMismatch",
                          "The preview pose does not match this skeleton. Nothing was changed.");
    }
    if (Params.BoneNames.IsEmpty())
    {
        return VT_LOCTEXT("NothingToBake",
                          "No bone transforms to bake. Change a bone in the Skeleton Tree first.");
    }
    if (!Mesh->GetMeshDescription(0))
    {
        return VT_LOCTEXT("NoMeshDescription", "This mesh has no editable source geometry.");
    }
    FText Refusal = ValidateBones(Mesh->GetRefSkeleton(), Params, OutBoneIndices);
    if (Refusal.IsEmpty() && Params.bZeroTheBone)
    {
        Refusal = ValidateZeroing(*Mesh, OutBoneIndices);
    }
    return Refusal;
}

TArray<FTransform> ComputeComponentSpace(const TArray<FTransform>& LocalPose, const TArray<int32>& Parents)
{
    TArray<FTransform> ComponentSpace;
    VT::Math::FillComponentSpaceTransforms(LocalPose, Parents, ComponentSpace);
    return ComponentSpace;
}

/** The imported bounds as the DIAG lines show them. */
struct FBoundsText
{
    FString Size;
    FString Center;

    explicit FBoundsText(const USkeletalMesh& Mesh)
    {
        const FBoxSphereBounds Bounds = Mesh.GetImportedBounds();
        Size = (Bounds.BoxExtent * 2.0).ToString();
        Center = Bounds.Origin.ToString();
    }
};

void LogBonesBefore(const FReferenceSkeleton& RefSkeleton, const TArray<int32>& BoneIndices,
                    const TArray<FTransform>& ReferencePose, const TArray<FTransform>& Pose)
{
    for (const int32 Bone : BoneIndices)
    {
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] DIAG bone '%s'",
               RefSkeleton.GetBoneName(Bone).GetPlainName());
        VT_LOG(LogRivetEditor, Display, "[RivetEditor]   CS_ref  = %s", *ReferencePose[Bone].ToString());
        VT_LOG(LogRivetEditor, Display, "[RivetEditor]   CS_pose = %s", *Pose[Bone].ToString());
        VT_LOG(LogRivetEditor, Display, "[RivetEditor]   delta   = %s",
               *(ReferencePose[Bone].Inverse() * Pose[Bone]).ToString());
    }
}

/** Zeroes the listed bones in the new local pose when asked, and logs each. */
void ZeroBakedBones(const FReferenceSkeleton& RefSkeleton, const TArray<int32>& Parents,
                    const TArray<int32>& BoneIndices, bool bVerboseLog, TArray<FTransform>& NewLocalPose,
                    FRivetBakeBoneResult& Result)
{
    const FRivetBoneZeroing Zeroing = ZeroBoneRotations(NewLocalPose, Parents, BoneIndices);
    Result.ChildBonesCompensated = Zeroing.ChildrenCompensated;
    if (!bVerboseLog)
    {
        return;
    }
    for (const FRivetZeroedBone& Zeroed : Zeroing.Zeroed)
    {
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] DIAG zeroing '%s': %s --> %s",
               RefSkeleton.GetBoneName(Zeroed.Bone).GetPlainName(), *Zeroed.Before.ToString(),
               *Zeroed.After.ToString());
    }
}

/** Makes the new local pose the mesh's reference pose and renews the inverse reference matrices. */
void WriteReferenceSkeleton(USkeletalMesh& Mesh, const TArray<FTransform>& NewLocalPose,
                            FRivetBakeBoneResult& Result)
{
    FReferenceSkeleton NewRefSkeleton = Mesh.GetRefSkeleton();
    {
        FReferenceSkeletonModifier Modifier(NewRefSkeleton, Mesh.GetSkeleton());
        for (int32 Bone = 0; Bone < NewLocalPose.Num(); ++Bone)
        {
            Modifier.UpdateRefPoseTransform(Bone, NewLocalPose[Bone]);
            ++Result.BonesWritten;
        }
    }
    Mesh.WaitUntilAsyncPropertyReleased(ESkeletalMeshAsyncProperties::RefSkeleton,
                                        ESkeletalMeshAsyncPropertyLockType::WriteOnly);
    Mesh.SetRefSkeleton(NewRefSkeleton);
    // The matrices are recomputed only when their count differs from the bone count: empty them first.
    Mesh.GetRefBasesInvMatrix().Empty();
    Mesh.CalculateInvRefMatrices();
}

/** Bakes the moves into every LOD past LOD 0 that has a description, with its own skin weights. */
void BakeFurtherLODs(USkeletalMesh& Mesh, const TArray<FTransform>& BoneMoves)
{
    for (int32 LODIndex = 1; LODIndex < Mesh.GetLODNum(); ++LODIndex)
    {
        FMeshDescription* Description = Mesh.GetMeshDescription(LODIndex);
        if (!Description)
        {
            VT_LOG(LogRivetEditor, Warning,
                   "[RivetEditor] Bake: LOD %d has no mesh description and was not baked", LODIndex);
            continue;
        }
        Mesh.ModifyMeshDescription(LODIndex, /*bAlwaysMarkDirty=*/true);
        const FRivetPoseBake Baked = BakePoseIntoMeshDescription(*Description, BoneMoves);
        CommitLOD(Mesh, LODIndex);
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] Bake: LOD %d: %d vertices moved", LODIndex,
               Baked.VerticesMoved);
    }
}

/** Applies the root's move to the skeleton's animations, when the root is among the bones baked. */
void BakeAnimations(USkeletalMesh& Mesh, const TArray<int32>& BoneIndices,
                    const TArray<FTransform>& ReferencePose, const TArray<FTransform>& Pose,
                    FRivetBakeBoneResult& Result)
{
    if (!BoneIndices.Contains(0))
    {
        Result.bAnimationsSkipped = true;
        return;
    }
    const FTransform RootDelta = ComputeRootDelta(ReferencePose[0], Pose[0]);
    if (RootDelta.Equals(FTransform::Identity, 1e-4))
    {
        return;
    }
    TArray<FString> Names;
    Result.AnimationsUpdated =
        BakeRootIntoAnimations(Mesh.GetSkeleton(), Mesh.GetRefSkeleton().GetBoneName(0), RootDelta, Names);
    for (const FString& Name : Names)
    {
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] Animation updated: '%s'", *Name);
    }
}

void LogSummary(const FRivetBakeBoneResult& Result)
{
    VT_LOG(LogRivetEditor, Display,
           "[RivetEditor] Bake: %d vertices, %d bones, %d children compensated, %d bones switched to "
           "AnimationScaled retargeting, %d animations, %d morphs, %d sockets (%d copied from the skeleton), "
           "%d physics bodies, %d constraints updated (%d skeleton sockets left untouched)",
           Result.VerticesMoved, Result.BonesWritten, Result.ChildBonesCompensated,
           Result.BonesSwitchedToScaled, Result.AnimationsUpdated, Result.MorphTargets, Result.SocketsUpdated,
           Result.SocketsCopiedFromSkeleton, Result.PhysicsBodiesResized, Result.ConstraintsUpdated,
           Result.SkeletonSocketsLeftUntouched);
}
} // namespace

void BakeBoneTransform(FRivetBakeBoneResult& Result, USkeletalMesh* Mesh, const FRivetBakeBoneParams& Params)
{
    Result = FRivetBakeBoneResult();
    TArray<int32> BoneIndices;
    Result.Message = ValidateBake(Mesh, Params, BoneIndices);
    if (!Result.Message.IsEmpty())
    {
        return;
    }

    const FReferenceSkeleton& RefSkeleton = Mesh->GetRefSkeleton();
    const TArray<int32> Parents = RefSkeleton.GetParentIndices();
    const TArray<FTransform>& Pose = Params.ComponentSpacePose;
    const TArray<FTransform> ReferencePose = ComputeComponentSpace(RefSkeleton.GetRefBonePose(), Parents);
    if (Params.bVerboseLog)
    {
        LogBonesBefore(RefSkeleton, BoneIndices, ReferencePose, Pose);
        const FBoundsText Bounds(*Mesh);
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] DIAG bounds BEFORE: size=%s center=%s", *Bounds.Size,
               *Bounds.Center);
    }

    // Geometry: LOD 0's vertices, normals, tangents and morph deltas.
    Mesh->ModifyMeshDescription(0, /*bAlwaysMarkDirty=*/true);
    const TArray<FTransform> BoneMoves = ComputeBoneMoves(ReferencePose, Pose);
    const FRivetPoseBake Baked = BakePoseIntoMeshDescription(*Mesh->GetMeshDescription(0), BoneMoves);
    Result.VerticesMoved = Baked.VerticesMoved;
    Result.MorphTargets = Baked.MorphTargets;
    if (Params.bVerboseLog && Baked.VerticesMoved > 0)
    {
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] DIAG sample vertex: %s --> %s",
               *Baked.SampleBefore.ToString(), *Baked.SampleAfter.ToString());
    }

    // The new reference pose, and what hangs on bones.
    TArray<FTransform> NewLocalPose = MakeUnscaledLocalPose(Pose, Parents);
    if (Params.bZeroTheBone)
    {
        ZeroBakedBones(RefSkeleton, Parents, BoneIndices, Params.bVerboseLog, NewLocalPose, Result);
    }
    const TArray<FTransform> NewComponentPose = ComputeComponentSpace(NewLocalPose, Parents);
    const FRivetBakePoses Poses{RefSkeleton, Pose, NewComponentPose};
    BakeSockets(*Mesh, Poses, Params.bLocalizeSkeletonSockets, Result);
    if (UPhysicsAsset* PhysicsAsset = Mesh->GetPhysicsAsset(); PhysicsAsset && Params.bUpdatePhysicsAsset)
    {
        BakePhysicsAsset(*PhysicsAsset, Poses, Result);
    }

    WriteReferenceSkeleton(*Mesh, NewLocalPose, Result);
    CommitLOD(*Mesh, 0);
    BakeFurtherLODs(*Mesh, BoneMoves);
    if (Params.bBakeIntoAnimations)
    {
        BakeAnimations(*Mesh, BoneIndices, ReferencePose, Pose, Result);
    }
    if (Params.bRetargetAnimationScaled)
    {
        Result.BonesSwitchedToScaled = SwitchSkeletonToScaledRetargeting(Mesh->GetSkeleton());
    }

    if (Params.bPostEditChange)
    {
        Mesh->PostEditChange();
    }
    if (Params.bVerboseLog)
    {
        const FBoundsText Bounds(*Mesh);
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] DIAG bounds AFTER: size=%s center=%s", *Bounds.Size,
               *Bounds.Center);
    }
    LogSummary(Result);
    Result.bSuccess = true;
}

#undef VT_LOCTEXT_NAMESPACE
