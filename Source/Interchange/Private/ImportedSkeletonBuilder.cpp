#include "Interchange/Private/ImportedSkeletonBuilder.h"

#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/InterchangeFailure.h"

#include <algorithm>
#include <cmath>
#include <iterator>

FImportedSkeletonBuilder::FImportedSkeletonBuilder(FReferenceSkeleton& OutSkeleton, int32 NumRootJoints)
    : Modifier(OutSkeleton, nullptr)
{
    if (NumRootJoints != 1)
    {
        Modifier.Add({FName(Names.Take("Root", "Root")), INDEX_NONE}, FTransform::Identity);
        RootOfRootJoints = 0;
    }
}

void FImportedSkeletonBuilder::CheckJointCount(int32 NumJoints, const char* Noun)
{
    if (NumJoints > ImportLimits::MaxJoints)
    {
        FailImport("the skeleton has %d %s, more than a mesh can be skinned to", NumJoints, Noun);
    }
}

int32 FImportedSkeletonBuilder::AddJoint(int32 Node, const FString& NodeName, int32 ParentBone,
                                         const FTransform& Pose)
{
    const FName Name(Names.Take(NodeName, FString::Printf("Bone_%d", Node)));
    const FVector3f Translation(Pose.GetTranslation());
    const FVector3f Scale(Pose.GetScale3D());
    const FQuat& Rotation = Pose.GetRotation();
    const double Values[] = {Translation.X, Translation.Y, Translation.Z, Scale.X,    Scale.Y,
                             Scale.Z,       Rotation.X,    Rotation.Y,    Rotation.Z, Rotation.W};
    if (!std::all_of(std::begin(Values), std::end(Values), [](double Value) { return std::isfinite(Value); }))
    {
        FailImport("the bind pose of bone '%s' is out of range once converted to centimetres",
                   *Name.ToString());
    }
    const int32 Bone = Modifier.GetReferenceSkeleton().GetRawBoneNum();
    Modifier.Add({Name, ParentBone != INDEX_NONE ? ParentBone : RootOfRootJoints}, Pose);
    return Bone;
}
