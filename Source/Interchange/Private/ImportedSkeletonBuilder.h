#pragma once

#include "Engine/Animation/ReferenceSkeleton.h"
#include "Interchange/Private/UniqueNameSet.h"

/**
 * Makes the reference skeleton of an import from the file's joints, parents first. When the joints
 * have no single root (or there are none), a bone "Root" comes first and holds the root joints. Bones
 * are named after their nodes, "Bone_<node>" where that name would be None, made unique.
 */
class FImportedSkeletonBuilder
{
public:
    FImportedSkeletonBuilder(FReferenceSkeleton& OutSkeleton, int32 NumRootJoints);

    /** Throws FInterchangeFailure when a skeleton would have more joints than a mesh can be skinned to. */
    static void CheckJointCount(int32 NumJoints, const char* Noun);

    /**
     * Adds the bone of the joint at Node with its pose relative to its parent bone, in host space, and
     * returns the bone's index. ParentBone is INDEX_NONE for a root joint. Throws FInterchangeFailure when
     * the pose is not finite as the host stores it.
     */
    int32 AddJoint(int32 Node, const FString& NodeName, int32 ParentBone, const FTransform& Pose);

private:
    FReferenceSkeletonModifier Modifier;
    FUniqueNameSet Names;
    int32 RootOfRootJoints = INDEX_NONE;
};
