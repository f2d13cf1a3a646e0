#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Quat.h"
#include "Core/Math/Vector.h"
#include "Core/Text/Text.h"
#include "CoreUObject/Object/WeakObjectPtr.h"

class UAnimationDataModel;

/**
 * Edits an animation data model. Every edit checks its input, reports a refusal with a warning
 * and leaves the model unchanged, or applies the change whole. With bShouldTransact an edit
 * records the model in the open undo transaction (Modify) before it changes it; the editor opens
 * the transactions. Without it the model is only marked as needing a save.
 *
 * Brackets group a run of edits under one description; they nest, and the outermost one's
 * description stands while any is open. The bracket state lives in the controller, not in the
 * model, so undoing model changes never opens or closes a bracket.
 */
class FAnimationDataController
{
public:
    FAnimationDataController() = default;
    explicit FAnimationDataController(UAnimationDataModel* InModel) : Model(InModel) {}

    /** The model edited; null when none is set or it was destroyed. */
    UAnimationDataModel* GetModel() const { return Model.Get(); }
    void SetModel(UAnimationDataModel* InModel) { Model = InModel; }

    /** Opens a bracket; with bShouldTransact the outermost one records the model as it is now. */
    void OpenBracket(const FText& Description, bool bShouldTransact = true);
    /**
     * Closes the innermost bracket; refused with a warning when none is open. bShouldTransact pairs
     * with OpenBracket's: the state undo needs was recorded when the bracket opened, so closing records
     * nothing.
     */
    void CloseBracket(bool bShouldTransact = true);
    bool IsBracketOpen() const { return BracketDepth > 0; }
    int32 GetBracketDepth() const { return BracketDepth; }
    /** The outermost open bracket's description; empty when none is open. */
    const FText& GetBracketDescription() const { return BracketDescription; }

    /** Sets the key count; tracks lose their keys past it or repeat their last key up to it. */
    bool SetNumberOfKeys(int32 NumberOfKeys, bool bShouldTransact = true);
    /** Sets the frames per second; it must be a positive finite number. */
    bool SetFrameRate(double FrameRate, bool bShouldTransact = true);

    /**
     * Adds a track without keys for the bone and answers its index. A bone that has a track keeps
     * it untouched and answers its index; None answers INDEX_NONE.
     */
    int32 AddBoneTrack(FName BoneName, bool bShouldTransact = true);
    /** Removes the bone's track; false when there is none. */
    bool RemoveBoneTrack(FName BoneName, bool bShouldTransact = true);

    /**
     * Replaces the keys of the bone's track. Refused when the bone has no track or when the three
     * arrays do not each hold exactly the model's number of keys (at least one).
     */
    bool SetBoneTrackKeys(FName BoneName, const TArray<FVector3f>& Positions,
                          const TArray<FQuat4f>& Rotations, const TArray<FVector3f>& Scales,
                          bool bShouldTransact = true);
    /** The same, from double-precision keys, which are stored in single precision. */
    bool SetBoneTrackKeys(FName BoneName, const TArray<FVector>& Positions, const TArray<FQuat>& Rotations,
                          const TArray<FVector>& Scales, bool bShouldTransact = true);

private:
    /** The model to change, or null after reporting that there is none. */
    UAnimationDataModel* GetModelToEdit(const char* EditName) const;
    /** Modify() when transacting, else only marks the package as needing a save. */
    static void RecordChange(UAnimationDataModel& EditedModel, bool bShouldTransact);
    /** Why keys of these lengths cannot go into the track at TrackIndex; null when they can. */
    static const char* FindKeysProblem(const UAnimationDataModel& EditedModel, int32 TrackIndex,
                                       int32 NumPositions, int32 NumRotations, int32 NumScales);

    TWeakObjectPtr<UAnimationDataModel> Model;
    int32 BracketDepth = 0;
    FText BracketDescription;
};
