#include "Engine/Animation/AnimationDataModel.h"

const FAnimationBoneTrack* UAnimationDataModel::FindBoneTrackByName(FName BoneName) const
{
    const int32 TrackIndex = FindBoneTrackIndex(BoneName);
    return TrackIndex == INDEX_NONE ? nullptr : &BoneTracks[TrackIndex];
}

int32 UAnimationDataModel::FindBoneTrackIndex(FName BoneName) const
{
    if (BoneName.IsNone())
    {
        return INDEX_NONE;
    }
    return BoneTracks.IndexOfByPredicate([BoneName](const FAnimationBoneTrack& Track)
                                         { return Track.Name == BoneName; });
}

bool UAnimationDataModel::GetBoneTrackTransforms(FName BoneName, TArray<FTransform>& OutTransforms) const
{
    OutTransforms.Reset();
    const FAnimationBoneTrack* Track = FindBoneTrackByName(BoneName);
    if (!Track)
    {
        return false;
    }
    OutTransforms.Reserve(Track->GetNumKeys());
    for (int32 KeyIndex = 0; KeyIndex < Track->GetNumKeys(); ++KeyIndex)
    {
        OutTransforms.Add(Track->GetKeyTransform(KeyIndex));
    }
    return true;
}
