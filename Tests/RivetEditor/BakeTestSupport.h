#pragma once

#include "Core/Logging/ScopedLogCapture.h"
#include "Core/Math/ForwardKinematics.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetBakeBoneOp.h"
#include "RivetEditorLog.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

#include <initializer_list>

/** A turn by Degrees about a unit axis, followed by a translation, with a uniform scale. */
inline FTransform Turn(const FVector& Axis, double Degrees, const FVector& Translation = FVector(),
                       double Scale = 1.0)
{
    return FTransform(FQuat(Axis, VT::Math::DegreesToRadians(Degrees)), Translation, FVector(Scale));
}

/** A change of one bone in its own frame, as the user makes it in the preview. */
struct FBoneEdit
{
    const char* Bone;
    FTransform Edit;
};

/** The mesh's reference pose in component space with the edits applied, as the preview shows it. */
inline TArray<FTransform> PoseWith(const USkeletalMesh& Mesh, std::initializer_list<FBoneEdit> Edits)
{
    const FReferenceSkeleton& Bones = Mesh.GetRefSkeleton();
    TArray<FTransform> LocalPose = Bones.GetRefBonePose();
    for (const FBoneEdit& Edit : Edits)
    {
        const int32 Bone = Bones.FindBoneIndex(Edit.Bone);
        LocalPose[Bone] = Edit.Edit * LocalPose[Bone];
    }
    TArray<FTransform> Pose;
    VT::Math::FillComponentSpaceTransforms(LocalPose, Bones.GetParentIndices(), Pose);
    return Pose;
}

/**
 * The test character (bones Root, Spine, Arm, Head; vertices on Spine, Arm and Head) and the parameters
 * of a bake of it, every option off but the post-edit-change.
 */
class BakeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        FTransactionBuffer::Get().Reset();
        Asset = BuildTestSkeletalAsset(AssetOptions());
        Params.bPostEditChange = true;
    }

    virtual FTestSkeletalAssetOptions AssetOptions() const { return {.PackageName = "/Game/Bake/Character"}; }

    /** Bakes a pose of the listed bones with Params' options. */
    FRivetBakeBoneResult Bake(std::initializer_list<FBoneEdit> Edits, TArray<FName> BoneNames)
    {
        Params.ComponentSpacePose = PoseWith(*Asset.Mesh, Edits);
        Params.BoneNames = std::move(BoneNames);
        FRivetBakeBoneResult Result;
        BakeBoneTransform(Result, Asset.Mesh, Params);
        return Result;
    }

    /** The lines logged to the module's category so far. */
    TArray<FString> LoggedLines() const
    {
        TArray<FString> Lines;
        for (const FLogLine& Line : Log.FindLines(LogRivetEditor.GetCategoryName()))
        {
            Lines.Add(Line.Message);
        }
        return Lines;
    }

    FTestSkeletalAsset Asset;
    FRivetBakeBoneParams Params;
    FScopedLogCapture Log;
};
