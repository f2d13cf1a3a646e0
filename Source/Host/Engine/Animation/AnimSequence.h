#pragma once

#include "CoreUObject/Object/NonTransactedValue.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/Animation/AnimationDataController.h"
#include "Engine/Animation/AnimationDataModel.h"
#include "Engine/Animation/Skeleton.h"

/**
 * An animation asset: keyed bone data (its data model, made on demand) for the bones of one
 * skeleton. The sequence owns the controller that edits its model, so an editing session's
 * brackets last from one call to the next; undo restores the sequence's data but never the
 * controller's brackets.
 */
VT_CLASS(ToolTip = "An animation of the bones of one skeleton.")
class UAnimSequence : public UObject
{
    VT_BODY(UAnimSequence, UObject)

public:
    USkeleton* GetSkeleton() const { return Skeleton; }
    /** Sets the skeleton the animation plays on; records the sequence in the open transaction. */
    void SetSkeleton(USkeleton* NewSkeleton);

    /** The keyed data; null until made. */
    UAnimationDataModel* GetDataModel() const { return DataModel; }
    /** The keyed data, made (inside this sequence) when there is none yet. */
    UAnimationDataModel* EnsureDataModel();
    /** The sequence's controller, bound to its data model (made when there is none yet). */
    FAnimationDataController& GetController();

    /** Adds "Skeleton": the skeleton's export text, ClassPath'ObjectPath', when one is set. */
    void GetAssetRegistryTags(TMap<FName, FString>& OutTags) const override;
    void AddReferencedObjects(FReferenceCollector& Collector) override;

private:
    VT_PROPERTY(VisibleAnywhere, Category = "Animation")
    TObjectPtr<USkeleton> Skeleton;

    TObjectPtr<UAnimationDataModel> DataModel;
    TNonTransactedValue<FAnimationDataController> Controller;
};
