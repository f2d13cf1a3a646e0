#include "RivetCli/Demo/DemoAnimation.h"

#include "Core/Math/MathUtility.h"
#include "Engine/Animation/AnimSequence.h"
#include "RivetCli/Demo/DemoRig.h"

#include <algorithm>
#include <cmath>

namespace
{
/**
 * A bone's turn about +Y, the axis pointing out of the figure's back: positive turns lift the right
 * arm outward (toward -X). Lift is held while the animation runs; Swing goes back and forth on top.
 */
struct FDemoTrackDef
{
    const char* Bone;
    double LiftDegrees;
    double SwingDegrees;
};

const FDemoTrackDef TrackDefs[] = {
    {"UpperArm_R", 140.0, 0.0},
    {"LowerArm_R", 20.0, 30.0},
    {"Hand_R", 0.0, 15.0},
    {"Head", -8.0, 0.0},
};

constexpr double WavesPerSecond = 2.0;
/** How long the arm takes to rise, and to come down, in seconds. */
constexpr double EaseTime = 0.25;

double SmoothStep(double Value)
{
    const double Clamped = std::clamp(Value, 0.0, 1.0);
    return Clamped * Clamped * (3.0 - 2.0 * Clamped);
}

/** 0 at the first and last key, 1 in between once the arm is up. */
double Envelope(double Time, double Duration)
{
    return SmoothStep(Time / EaseTime) * SmoothStep((Duration - Time) / EaseTime);
}
} // namespace

void BuildDemoWave(UAnimSequence& Animation, USkeleton& Skeleton, const FDemoRig& Rig)
{
    Animation.SetSkeleton(&Skeleton);
    Animation.EnsureDataModel();
    FAnimationDataController& Controller = Animation.GetController();
    Controller.OpenBracket(FText::FromString("Build"), /*bShouldTransact=*/false);
    Controller.SetFrameRate(DemoWaveFrameRate, /*bShouldTransact=*/false);
    Controller.SetNumberOfKeys(DemoWaveNumKeys, /*bShouldTransact=*/false);
    const double Duration = (DemoWaveNumKeys - 1) / DemoWaveFrameRate;
    const FVector3f TurnAxis(0.0f, 1.0f, 0.0f);
    TArray<FVector3f> Positions;
    TArray<FQuat4f> Rotations;
    TArray<FVector3f> Scales;
    for (const FDemoTrackDef& Def : TrackDefs)
    {
        const FName Bone(Def.Bone);
        const FVector3f Rest(Rig.GetRefSkeleton().GetRefBonePose()[Rig.FindBone(Bone)].GetTranslation());
        Positions.Init(Rest, DemoWaveNumKeys);
        Scales.Init(FVector3f(1.0f, 1.0f, 1.0f), DemoWaveNumKeys);
        Rotations.Reset();
        for (int32 Key = 0; Key < DemoWaveNumKeys; ++Key)
        {
            const double Time = Key / DemoWaveFrameRate;
            const double Swing = std::sin(2.0 * VT::Math::Pi * WavesPerSecond * Time);
            const double Degrees = Envelope(Time, Duration) * (Def.LiftDegrees + Def.SwingDegrees * Swing);
            Rotations.Add(FQuat4f(TurnAxis, static_cast<float>(VT::Math::DegreesToRadians(Degrees))));
        }
        Controller.AddBoneTrack(Bone, /*bShouldTransact=*/false);
        Controller.SetBoneTrackKeys(Bone, Positions, Rotations, Scales, /*bShouldTransact=*/false);
    }
    Controller.CloseBracket(/*bShouldTransact=*/false);
}
