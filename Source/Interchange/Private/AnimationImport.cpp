#include "Interchange/Private/AnimationImport.h"

#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeFailure.h"

#include <algorithm>
#include <cmath>

FName MatchSkeletonBone(const FReferenceSkeleton& Bones, const FString& NodeName)
{
    const FName Name = ImportedText::ToName(NodeName.View());
    return !Name.IsNone() && Bones.FindRawBoneIndex(Name) != INDEX_NONE ? Name : FName();
}

FString MakeAnimationName(const FString& FileName, int32 Index)
{
    return FileName.IsEmpty() ? FString::Printf("Animation_%d", Index) : FileName;
}

int32 CountSampledKeys(double Seconds)
{
    const double Intervals = std::round(Seconds * DefaultFrameRate);
    if (!(Intervals < ImportLimits::MaxKeys))
    {
        FailImport(
            "an animation lasts %g seconds, longer than the %d keys at %g keys per second that are read",
            Seconds, ImportLimits::MaxKeys, DefaultFrameRate);
    }
    return static_cast<int32>(std::max(Intervals, 0.0)) + 1;
}

void AddTrackKey(FAnimationBoneTrack& Track, const FAxisConversion& Conversion, const FTransform& Local)
{
    const FTransform Host = Conversion.Transform(Local);
    const FVector3f Position(Host.GetTranslation());
    const FQuat4f Rotation(Host.GetRotation());
    const FVector3f Scale(Host.GetScale3D());
    const float Values[] = {Position.X, Position.Y, Position.Z, Rotation.X, Rotation.Y,
                            Rotation.Z, Rotation.W, Scale.X,    Scale.Y,    Scale.Z};
    for (const float Value : Values)
    {
        if (!std::isfinite(Value))
        {
            FailImport("an animation key of bone '%s' is out of range once converted to centimetres",
                       *Track.Name.ToString());
        }
    }
    Track.PositionKeys.Add(Position);
    Track.RotationKeys.Add(Rotation);
    Track.ScaleKeys.Add(Scale);
}
