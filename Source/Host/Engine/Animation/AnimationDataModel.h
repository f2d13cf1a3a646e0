#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Transform.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/Animation/AnimationBoneTrack.h"

/**
 * The keyed data of an animation: how many keys it has, at what rate they play, and one track
 * of keys per animated bone. Read it here; change it through FAnimationDataController, which keeps
 * the tracks consistent with the key count and records the changes for undo.
 */
VT_CLASS(ToolTip = "The keyed bone data of an animation.")
class UAnimationDataModel : public UObject
{
    VT_BODY(UAnimationDataModel, UObject)

public:
    int32 GetNumberOfKeys() const { return NumberOfKeys; }
    /** The number of intervals between keys; 0 for fewer than two keys. */
    int32 GetNumberOfFrames() const { return NumberOfKeys > 1 ? NumberOfKeys - 1 : 0; }
    /** Frames per second. */
    double GetFrameRate() const { return FrameRate; }
    /** The duration in seconds. */
    double GetPlayLength() const { return GetNumberOfFrames() / FrameRate; }

    const TArray<FAnimationBoneTrack>& GetBoneAnimationTracks() const { return BoneTracks; }
    /** The track of that bone; null for None and for bones without a track. */
    const FAnimationBoneTrack* FindBoneTrackByName(FName BoneName) const;
    /** The index of the bone's track; INDEX_NONE for None and for bones without a track. */
    int32 FindBoneTrackIndex(FName BoneName) const;
    bool IsValidBoneTrackName(FName BoneName) const { return FindBoneTrackIndex(BoneName) != INDEX_NONE; }
    /** One local transform per key of the bone's track; false and empty when the bone has no track. */
    bool GetBoneTrackTransforms(FName BoneName, TArray<FTransform>& OutTransforms) const;

private:
    friend class FAnimationDataController;

    VT_PROPERTY(VisibleAnywhere, Category = "Animation")
    int32 NumberOfKeys = 0;

    VT_PROPERTY(VisibleAnywhere, Category = "Animation", ToolTip = "Frames per second.")
    double FrameRate = 30.0;

    TArray<FAnimationBoneTrack> BoneTracks;
};
