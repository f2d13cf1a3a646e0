#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/Map.h"
#include "Core/Math/Transform.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/Animation/BoneTranslationRetargetingMode.h"
#include "Engine/Animation/ReferenceSkeleton.h"
#include "Engine/SkeletalMesh/SkeletalMeshSocket.h"

/** What a skeleton keeps per bone besides the hierarchy. */
struct FBoneTreeNode
{
    EBoneTranslationRetargetingMode TranslationRetargetingMode = EBoneTranslationRetargetingMode::Animation;

    bool operator==(const FBoneTreeNode& Other) const = default;
};

/**
 * The bone hierarchy that meshes and animations share. Meshes merge their bones into it, so it
 * holds every bone of every mesh made for it; animations key bones by its names. Per bone it keeps
 * how retargeting treats the bone's translation. Its sockets are available on every mesh of the
 * skeleton. Edits record the skeleton in the open undo transaction.
 */
VT_CLASS(ToolTip = "The bone hierarchy shared by skeletal meshes and animations.")
class USkeleton : public UObject
{
    VT_BODY(USkeleton, UObject)

public:
    /** Attachment points shared by every mesh of this skeleton; entries may be null. */
    VT_PROPERTY(EditAnywhere, Category = "Sockets")
    TArray<TObjectPtr<USkeletalMeshSocket>> Sockets;

    const FReferenceSkeleton& GetReferenceSkeleton() const { return ReferenceSkeleton; }

    /**
     * Adds the mesh's bones that the skeleton lacks (matched by name), after the skeleton's own
     * bones and in the mesh's order, so parents come first. Answers false and changes nothing when
     * the hierarchies disagree: a shared bone whose parent differs, or a new bone whose parent the
     * skeleton does not hold (only an empty skeleton takes a new root).
     */
    bool MergeBonesFrom(const FReferenceSkeleton& MeshSkeleton);

    /** One node per raw bone of the reference skeleton, in bone order. */
    const TArray<FBoneTreeNode>& GetBoneTree() const { return BoneTree; }

    /** Sets the bone's mode, and every descendant's too when asked; an invalid index is reported and ignored.
     */
    void SetBoneTranslationRetargetingMode(int32 BoneIndex, EBoneTranslationRetargetingMode Mode,
                                           bool bChildrenToo = false);
    /** The bone's mode; Animation for an invalid index. */
    EBoneTranslationRetargetingMode GetBoneTranslationRetargetingMode(int32 BoneIndex) const;

    /** The first socket of that name; null for None and for names no socket has. */
    USkeletalMeshSocket* FindSocket(FName SocketName) const;

    /**
     * The local pose of every bone: the reference pose for None and for names that are not a
     * retarget source, else the pose of that retarget source.
     */
    const TArray<FTransform>& GetRefLocalPoses(FName RetargetSource = NAME_None) const;
    /**
     * Adds or replaces a named pose of the skeleton (the proportions of a mesh it animates), one
     * local transform per bone. Refuses None and a pose of the wrong length, with a warning.
     * Bones merged later extend every source with their reference pose.
     */
    bool AddRetargetSource(FName SourceName, const TArray<FTransform>& LocalPoses);

private:
    struct FNewBone
    {
        FName Name;
        FName ParentName;
        FTransform LocalPose;
    };

    /** Lists the mesh bones to add; false (with a warning) when the hierarchies disagree. */
    bool CollectNewBones(const FReferenceSkeleton& MeshSkeleton, TArray<FNewBone>& OutNewBones) const;
    bool CanParentNewBone(const FNewBone& Bone, const TArray<FNewBone>& EarlierNewBones) const;
    void AddBones(const TArray<FNewBone>& NewBones);

    FReferenceSkeleton ReferenceSkeleton;
    TArray<FBoneTreeNode> BoneTree;
    TMap<FName, TArray<FTransform>> RetargetSources;
};
