#include "Engine/Animation/AnimationDataController.h"

#include "Core/Logging/LogMacros.h"
#include "Engine/Animation/AnimationDataModel.h"
#include "Engine/Animation/LogAnimation.h"

#include <cmath>

namespace
{
template <typename ToType, typename FromType>
TArray<ToType> ConvertKeys(const TArray<FromType>& Keys)
{
    TArray<ToType> Converted;
    Converted.Reserve(Keys.Num());
    for (const FromType& Key : Keys)
    {
        Converted.Add(ToType(Key));
    }
    return Converted;
}
} // namespace

void FAnimationDataController::OpenBracket(const FText& Description, bool bShouldTransact)
{
    if (BracketDepth++ > 0)
    {
        return;
    }
    BracketDescription = Description;
    if (UAnimationDataModel* EditedModel = GetModel(); EditedModel && bShouldTransact)
    {
        EditedModel->Modify();
    }
}

void FAnimationDataController::CloseBracket(bool bShouldTransact)
{
    if (BracketDepth == 0)
    {
        VT_LOG(LogAnimation, Warning, "CloseBracket: no bracket is open on the animation data controller");
        return;
    }
    // Undo needs the state from before the bracketed edits, which OpenBracket recorded.
    (void)bShouldTransact;
    if (--BracketDepth == 0)
    {
        BracketDescription = FText();
    }
}

bool FAnimationDataController::SetNumberOfKeys(int32 NumberOfKeys, bool bShouldTransact)
{
    UAnimationDataModel* EditedModel = GetModelToEdit("SetNumberOfKeys");
    if (!EditedModel)
    {
        return false;
    }
    if (NumberOfKeys < 0)
    {
        VT_LOG(LogAnimation, Warning, "SetNumberOfKeys: %d is not a number of keys", NumberOfKeys);
        return false;
    }
    RecordChange(*EditedModel, bShouldTransact);
    EditedModel->NumberOfKeys = NumberOfKeys;
    for (FAnimationBoneTrack& Track : EditedModel->BoneTracks)
    {
        Track.SetNumKeys(NumberOfKeys);
    }
    return true;
}

bool FAnimationDataController::SetFrameRate(double FrameRate, bool bShouldTransact)
{
    UAnimationDataModel* EditedModel = GetModelToEdit("SetFrameRate");
    if (!EditedModel)
    {
        return false;
    }
    if (!std::isfinite(FrameRate) || FrameRate <= 0.0)
    {
        VT_LOG(LogAnimation, Warning, "SetFrameRate: %g is not a positive number of frames per second",
               FrameRate);
        return false;
    }
    RecordChange(*EditedModel, bShouldTransact);
    EditedModel->FrameRate = FrameRate;
    return true;
}

int32 FAnimationDataController::AddBoneTrack(FName BoneName, bool bShouldTransact)
{
    UAnimationDataModel* EditedModel = GetModelToEdit("AddBoneTrack");
    if (!EditedModel)
    {
        return INDEX_NONE;
    }
    if (BoneName.IsNone())
    {
        VT_LOG(LogAnimation, Warning, "AddBoneTrack: a bone track needs a bone name");
        return INDEX_NONE;
    }
    const int32 Existing = EditedModel->FindBoneTrackIndex(BoneName);
    if (Existing != INDEX_NONE)
    {
        return Existing;
    }
    RecordChange(*EditedModel, bShouldTransact);
    FAnimationBoneTrack Track;
    Track.Name = BoneName;
    return EditedModel->BoneTracks.Add(std::move(Track));
}

bool FAnimationDataController::RemoveBoneTrack(FName BoneName, bool bShouldTransact)
{
    UAnimationDataModel* EditedModel = GetModelToEdit("RemoveBoneTrack");
    if (!EditedModel)
    {
        return false;
    }
    const int32 TrackIndex = EditedModel->FindBoneTrackIndex(BoneName);
    if (TrackIndex == INDEX_NONE)
    {
        VT_LOG(LogAnimation, Warning, "RemoveBoneTrack: there is no track for bone '%s'",
               BoneName.GetPlainName());
        return false;
    }
    RecordChange(*EditedModel, bShouldTransact);
    EditedModel->BoneTracks.RemoveAt(TrackIndex);
    return true;
}

bool FAnimationDataController::SetBoneTrackKeys(FName BoneName, const TArray<FVector3f>& Positions,
                                                const TArray<FQuat4f>& Rotations,
                                                const TArray<FVector3f>& Scales, bool bShouldTransact)
{
    UAnimationDataModel* EditedModel = GetModelToEdit("SetBoneTrackKeys");
    if (!EditedModel)
    {
        return false;
    }
    const int32 TrackIndex = EditedModel->FindBoneTrackIndex(BoneName);
    if (const char* Problem =
            FindKeysProblem(*EditedModel, TrackIndex, Positions.Num(), Rotations.Num(), Scales.Num()))
    {
        VT_LOG(LogAnimation, Warning,
               "SetBoneTrackKeys: refused keys for bone '%s' (%d positions, %d rotations, %d scales; the "
               "model has %d keys): %s",
               BoneName.GetPlainName(), Positions.Num(), Rotations.Num(), Scales.Num(),
               EditedModel->NumberOfKeys, Problem);
        return false;
    }
    RecordChange(*EditedModel, bShouldTransact);
    FAnimationBoneTrack& Track = EditedModel->BoneTracks[TrackIndex];
    Track.PositionKeys = Positions;
    Track.RotationKeys = Rotations;
    Track.ScaleKeys = Scales;
    return true;
}

bool FAnimationDataController::SetBoneTrackKeys(FName BoneName, const TArray<FVector>& Positions,
                                                const TArray<FQuat>& Rotations, const TArray<FVector>& Scales,
                                                bool bShouldTransact)
{
    return SetBoneTrackKeys(BoneName, ConvertKeys<FVector3f>(Positions), ConvertKeys<FQuat4f>(Rotations),
                            ConvertKeys<FVector3f>(Scales), bShouldTransact);
}

UAnimationDataModel* FAnimationDataController::GetModelToEdit(const char* EditName) const
{
    UAnimationDataModel* EditedModel = GetModel();
    if (!EditedModel)
    {
        VT_LOG(LogAnimation, Warning, "%s: the animation data controller has no data model to edit",
               EditName);
    }
    return EditedModel;
}

void FAnimationDataController::RecordChange(UAnimationDataModel& EditedModel, bool bShouldTransact)
{
    if (bShouldTransact)
    {
        EditedModel.Modify();
    }
    else
    {
        EditedModel.MarkPackageDirty();
    }
}

const char* FAnimationDataController::FindKeysProblem(const UAnimationDataModel& EditedModel,
                                                      int32 TrackIndex, int32 NumPositions,
                                                      int32 NumRotations, int32 NumScales)
{
    if (TrackIndex == INDEX_NONE)
    {
        return "the bone has no track";
    }
    if (NumPositions != NumRotations || NumPositions != NumScales)
    {
        return "the key arrays differ in length";
    }
    if (NumPositions == 0 || NumPositions != EditedModel.GetNumberOfKeys())
    {
        return "the key count must be the model's number of keys, and at least one";
    }
    return nullptr;
}
