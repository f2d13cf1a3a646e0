#include "Interchange/Private/AnimationImport.h"

#include "Interchange/Private/ImportLimits.h"

#include <algorithm>
#include <cmath>

FName MatchSkeletonBone(const FReferenceSkeleton& Bones, const FString& NodeName)
{
    const FName Name(NodeName);
    return !Name.IsNone() && Bones.FindRawBoneIndex(Name) != INDEX_NONE ? Name : FName();
}

FString MakeAnimationName(const FString& FileName, int32 Index)
{
    return FileName.IsEmpty() ? FString::Printf("Animation_%d", Index) : FileName;
}

int32 CountSampledKeys(double Seconds)
{
    const double Intervals = std::round(Seconds * DefaultFrameRate);
    return static_cast<int32>(std::clamp(Intervals, 0.0, double(ImportLimits::MaxKeys - 1))) + 1;
}

void AddTrackKey(FAnimationBoneTrack& Track, const FAxisConversion& Conversion, const FTransform& Local)
{
    const FTransform Host = Conversion.Transform(Local);
    Track.PositionKeys.Add(FVector3f(Host.GetTranslation()));
    Track.RotationKeys.Add(FQuat4f(Host.GetRotation()));
    Track.ScaleKeys.Add(FVector3f(Host.GetScale3D()));
}
