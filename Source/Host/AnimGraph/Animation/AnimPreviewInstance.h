#pragma once

#include "AnimGraph/Animation/AnimNode_ModifyBone.h"
#include "Core/Containers/Array.h"
#include "Core/Math/Transform.h"
#include "CoreUObject/Object/UObjectGlobals.h"

class FReferenceSkeleton;

/**
 * The animation of an asset editor's preview: the reference pose with the bones the user edited in the
 * Skeleton Tree (one bone controller per bone) and the edits driven by curves. Its outer is the skeletal
 * mesh component it poses, which re-evaluates after an undo or redo of the controllers.
 */
VT_CLASS(ToolTip = "The preview animation of an asset editor, with bone controllers.")
class UAnimPreviewInstance : public UObject
{
    VT_BODY(UAnimPreviewInstance, UObject)

public:
    /** The bones edited by hand, one controller each, in the order they were first edited. */
    const TArray<FAnimNode_ModifyBone>& GetBoneControllers() const { return BoneControllers; }

    /**
     * The controller of the bone, made (every part ignored) when the bone has none. With
     * bCurveController, the controller among those driven by curves instead.
     */
    FAnimNode_ModifyBone& ModifyBone(FName BoneName, bool bCurveController = false);
    /** The controller of the bone, or null; with bCurveController among those driven by curves. */
    const FAnimNode_ModifyBone* FindModifiedBone(FName BoneName, bool bCurveController = false) const;

    /** Removes every controller of the one kind: edits by hand, or with bCurveController, by curves. */
    void ResetModifiedBone(bool bCurveController = false);

    /**
     * Poses the skeleton: the local pose followed by each bone's controllers (by hand first, then by
     * curves), parents before children, so that children follow their edited parents. Controllers of
     * bones the skeleton lacks are skipped.
     */
    void EvaluateComponentSpacePose(const FReferenceSkeleton& Skeleton, const TArray<FTransform>& LocalPose,
                                    const FTransform& ComponentToWorld,
                                    TArray<FTransform>& OutComponentSpace) const;

    /** Has the component it poses re-evaluate what undo or redo brought back. */
    void PostEditUndo() override;

private:
    TArray<FAnimNode_ModifyBone>& ControllersOf(bool bCurveController)
    {
        return bCurveController ? CurveBoneControllers : BoneControllers;
    }
    const TArray<FAnimNode_ModifyBone>& ControllersOf(bool bCurveController) const
    {
        return bCurveController ? CurveBoneControllers : BoneControllers;
    }

    TArray<FAnimNode_ModifyBone> BoneControllers;
    TArray<FAnimNode_ModifyBone> CurveBoneControllers;
};
