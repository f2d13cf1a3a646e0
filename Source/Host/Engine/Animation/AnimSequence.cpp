#include "Engine/Animation/AnimSequence.h"

#include "CoreUObject/Object/GarbageCollection.h"

void UAnimSequence::SetSkeleton(USkeleton* NewSkeleton)
{
    Modify();
    Skeleton = NewSkeleton;
}

UAnimationDataModel* UAnimSequence::EnsureDataModel()
{
    if (!DataModel)
    {
        Modify();
        DataModel = NewObject<UAnimationDataModel>(this);
    }
    return DataModel;
}

FAnimationDataController& UAnimSequence::GetController()
{
    FAnimationDataController& SequenceController = Controller.Get();
    SequenceController.SetModel(EnsureDataModel());
    return SequenceController;
}

void UAnimSequence::GetAssetRegistryTags(TMap<FName, FString>& OutTags) const
{
    Super::GetAssetRegistryTags(OutTags);
    if (Skeleton)
    {
        OutTags.Add(FName("Skeleton"),
                    Skeleton->GetClass()->GetPathName() + "'" + Skeleton->GetPathName() + "'");
    }
}

void UAnimSequence::AddReferencedObjects(FReferenceCollector& Collector)
{
    Super::AddReferencedObjects(Collector);
    Collector.AddReferencedObject(DataModel);
}
