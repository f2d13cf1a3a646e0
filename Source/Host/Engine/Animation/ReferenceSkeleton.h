#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/Map.h"
#include "Core/Math/Transform.h"
#include "Core/Name/Name.h"

/** One bone of a reference skeleton: its name and the index of its parent (INDEX_NONE for a root). */
struct FReferenceBone
{
    FName Name;
    int32 ParentIndex = INDEX_NONE;

    bool operator==(const FReferenceBone& Other) const = default;
};

/**
 * The bone hierarchy of a skeletal mesh or skeleton with its local reference pose. The raw data is
 * what the asset stores; the final data is derived from it (rotations normalized, the name lookup
 * rebuilt) and is what posing reads. Parents always come before their children. Only
 * FReferenceSkeletonModifier changes the raw data, and the final data follows when it ends.
 */
class FReferenceSkeleton
{
public:
    int32 GetRawBoneNum() const { return RawBones.Num(); }
    int32 GetNum() const { return FinalBones.Num(); }

    const TArray<FReferenceBone>& GetRawRefBoneInfo() const { return RawBones; }
    const TArray<FTransform>& GetRawRefBonePose() const { return RawPose; }
    const TArray<FReferenceBone>& GetRefBoneInfo() const { return FinalBones; }
    const TArray<FTransform>& GetRefBonePose() const { return FinalPose; }

    FName GetBoneName(int32 BoneIndex) const { return FinalBones[BoneIndex].Name; }
    int32 GetParentIndex(int32 BoneIndex) const { return FinalBones[BoneIndex].ParentIndex; }
    FName GetRawBoneName(int32 BoneIndex) const { return RawBones[BoneIndex].Name; }
    int32 GetRawParentIndex(int32 BoneIndex) const { return RawBones[BoneIndex].ParentIndex; }
    bool IsValidIndex(int32 BoneIndex) const { return FinalBones.IsValidIndex(BoneIndex); }

    /** The bone's index in the final data; INDEX_NONE for None and for names it does not hold. */
    int32 FindBoneIndex(FName BoneName) const;
    /** The bone's index in the raw data; INDEX_NONE for None and for names it does not hold. */
    int32 FindRawBoneIndex(FName BoneName) const;

    /** The parent index of every final bone, in bone order (the input of forward kinematics). */
    TArray<int32> GetParentIndices() const;
    /** True when the bone is the ancestor or the bone itself. */
    bool BoneIsChildOf(int32 ChildIndex, int32 ParentIndex) const;

    /** Compares the raw data; the final data follows from it. */
    bool operator==(const FReferenceSkeleton& Other) const;

private:
    friend class FReferenceSkeletonModifier;

    void RebuildFinalData();

    TArray<FReferenceBone> RawBones;
    TArray<FTransform> RawPose;
    TMap<FName, int32> RawNameToIndex;

    TArray<FReferenceBone> FinalBones;
    TArray<FTransform> FinalPose;
    TMap<FName, int32> FinalNameToIndex;
};

class USkeleton;

/**
 * Changes a reference skeleton's raw data. The final data is rebuilt once, when the modifier
 * ends (its destructor), so a batch of changes costs one rebuild. The skeleton asset, when given,
 * names the skeleton the bones belong to; bone names are checked against the reference skeleton
 * being edited only.
 */
class FReferenceSkeletonModifier
{
public:
    FReferenceSkeletonModifier(FReferenceSkeleton& InRefSkeleton, const USkeleton* InSkeleton);
    ~FReferenceSkeletonModifier();

    FReferenceSkeletonModifier(const FReferenceSkeletonModifier&) = delete;
    FReferenceSkeletonModifier& operator=(const FReferenceSkeletonModifier&) = delete;

    /**
     * Appends a bone. Its name must be new and not None, and its parent must already be there
     * (INDEX_NONE for a root). A skeleton has one root: a second root is a programming error.
     */
    void Add(const FReferenceBone& Bone, const FTransform& LocalPose);
    /** Replaces the local reference transform of a raw bone. */
    void UpdateRefPoseTransform(int32 BoneIndex, const FTransform& LocalPose);
    /** Renames a raw bone; the new name must be new and not None. */
    void Rename(int32 BoneIndex, FName NewName);

    int32 FindBoneIndex(FName BoneName) const { return RefSkeleton.FindRawBoneIndex(BoneName); }
    const FReferenceSkeleton& GetReferenceSkeleton() const { return RefSkeleton; }
    const USkeleton* GetSkeleton() const { return Skeleton; }

private:
    FReferenceSkeleton& RefSkeleton;
    const USkeleton* Skeleton;
};
