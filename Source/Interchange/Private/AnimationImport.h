#pragma once

#include "Engine/Animation/AnimationBoneTrack.h"
#include "Engine/Animation/ReferenceSkeleton.h"
#include "Interchange/Private/AxisConversion.h"

#include <functional>

/** The keys per second at which animations are sampled when the file does not give its own keys. */
inline constexpr double DefaultFrameRate = 30.0;

/** The bone a node of the file animates (None for nodes that are not bones). */
using FBoneOfNode = std::function<FName(int32 Node)>;

/** The bone of Bones that a node named NodeName animates when only animations are read: the bone of that
 * name. */
FName MatchSkeletonBone(const FReferenceSkeleton& Bones, const FString& NodeName);

/** The name of a file's animation: the one the file gives, or "Animation_<Index>" when it gives none. */
FString MakeAnimationName(const FString& FileName, int32 Index);

/**
 * The keys of an animation Seconds long sampled at DefaultFrameRate, both ends included. Throws
 * FInterchangeFailure when that is more than MaxKeys.
 */
int32 CountSampledKeys(double Seconds);

/**
 * Appends a key to Track: Local, a bone's transform in the file's frame, seen in host space. Throws
 * FInterchangeFailure when the key is not finite as the host stores it (floats, centimetres).
 */
void AddTrackKey(FAnimationBoneTrack& Track, const FAxisConversion& Conversion, const FTransform& Local);
