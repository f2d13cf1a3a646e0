#include "Core/Math/ForwardKinematics.h"

#include "Core/Misc/Check.h"

namespace VT::Math
{
void FillComponentSpaceTransforms(const TArray<FTransform>& LocalPose, const TArray<int32>& ParentIndices,
                                  TArray<FTransform>& OutComponentSpace)
{
    VT_CHECKF(LocalPose.Num() == ParentIndices.Num(), "%d local transforms for %d parent indices",
              LocalPose.Num(), ParentIndices.Num());
    VT_CHECK(&LocalPose != &OutComponentSpace);
    OutComponentSpace.SetNum(LocalPose.Num());
    for (int32 Bone = 0; Bone < LocalPose.Num(); ++Bone)
    {
        const int32 Parent = ParentIndices[Bone];
        if (Parent == INDEX_NONE)
        {
            OutComponentSpace[Bone] = LocalPose[Bone];
            continue;
        }
        VT_CHECKF(Parent >= 0 && Parent < Bone, "bone %d has parent %d, which does not come before it", Bone,
                  Parent);
        OutComponentSpace[Bone] = LocalPose[Bone] * OutComponentSpace[Parent];
    }
}
} // namespace VT::Math
