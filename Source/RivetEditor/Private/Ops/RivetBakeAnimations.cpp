#include "RivetEditor/Private/Ops/RivetBakeAnimations.h"

#include "Core/Text/LocText.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/Animation/AnimSequence.h"
#include "VantorEd/Assets/AssetRegistry.h"

#define VT_LOCTEXT_NAMESPACE "RivetBakeBoneOp"

namespace
{
/** The root's local transform at every key: its track, else its reference transform on every key. */
TArray<FTransform> ReadRootKeys(const UAnimSequence& Sequence, const UAnimationDataModel& Model,
                                FName RootBoneName)
{
    TArray<FTransform> Keys;
    if (Model.GetBoneTrackTransforms(RootBoneName, Keys) && !Keys.IsEmpty())
    {
        return Keys;
    }
    Keys.Reset();
    const USkeleton* Skeleton = Sequence.GetSkeleton();
    const int32 Bone = Skeleton ? Skeleton->GetReferenceSkeleton().FindBoneIndex(RootBoneName) : INDEX_NONE;
    if (Bone != INDEX_NONE)
    {
        Keys.Init(Skeleton->GetReferenceSkeleton().GetRefBonePose()[Bone], Model.GetNumberOfKeys());
    }
    return Keys;
}

/** The animation sequences whose "Skeleton" tag names the skeleton. */
TArray<FAssetData> FindSequencesOf(const USkeleton& Skeleton)
{
    FAssetFilter Filter;
    Filter.ClassPaths.Add(UAnimSequence::StaticClass()->GetPathName());
    Filter.bRecursiveClasses = true;
    Filter.TagsAndValues.Add({FName("Skeleton"), FAssetData(&Skeleton).GetExportTextName()});
    TArray<FAssetData> Found;
    FAssetRegistry::Get().GetAssets(Filter, Found);
    return Found;
}
} // namespace

FTransform ComputeRootDelta(const FTransform& RootReference, const FTransform& RootPose)
{
    FTransform UnscaledPose = RootPose;
    UnscaledPose.SetScale3D(FVector::OneVector);
    FTransform Delta = RootReference.Inverse() * UnscaledPose;
    Delta.SetScale3D(FVector::OneVector);
    return Delta;
}

int32 BakeRootIntoAnimations(USkeleton* Skeleton, FName RootBoneName, const FTransform& RootDelta,
                             TArray<FString>& OutAnimationNames)
{
    if (!Skeleton || Skeleton->GetPackage() == GetTransientPackage())
    {
        return 0;
    }
    int32 Changed = 0;
    for (const FAssetData& Asset : FindSequencesOf(*Skeleton))
    {
        UAnimSequence* Sequence = Cast<UAnimSequence>(Asset.GetAsset());
        if (Sequence && Sequence->GetSkeleton() == Skeleton &&
            BakeRootIntoAnimation(Sequence, RootBoneName, RootDelta) > 0)
        {
            OutAnimationNames.Add(Sequence->GetName());
            ++Changed;
        }
    }
    return Changed;
}

int32 BakeRootIntoAnimation(UAnimSequence* Sequence, FName RootBoneName, const FTransform& RootDelta)
{
    UAnimationDataModel* Model = Sequence ? Sequence->GetDataModel() : nullptr;
    if (!Model || Model->GetNumberOfKeys() < 1)
    {
        return 0;
    }
    const TArray<FTransform> Keys = ReadRootKeys(*Sequence, *Model, RootBoneName);
    if (Keys.IsEmpty())
    {
        return 0;
    }
    TArray<FVector> Positions;
    TArray<FQuat> Rotations;
    TArray<FVector> Scales;
    for (const FTransform& Key : Keys)
    {
        const FTransform Baked = Key * RootDelta;
        Positions.Add(Baked.GetTranslation());
        Rotations.Add(Baked.GetRotation());
        Scales.Add(Baked.GetScale3D());
    }

    // The controller's edits below record nothing themselves: the sequence and its data are recorded
    // here, so that one undo of the bake takes the keys back too.
    Sequence->Modify(true);
    Model->Modify(true);
    FAnimationDataController& Controller = Sequence->GetController();
    Controller.OpenBracket(VT_LOCTEXT("BakeAnimRoot", "Bake Bone Transform"), /*bShouldTransact=*/false);
    Controller.AddBoneTrack(RootBoneName, false);
    const bool bKeysSet = Controller.SetBoneTrackKeys(RootBoneName, Positions, Rotations, Scales, false);
    if (bKeysSet)
    {
        Sequence->MarkPackageDirty();
    }
    Controller.CloseBracket(false);
    return bKeysSet ? Keys.Num() : 0;
}

#undef VT_LOCTEXT_NAMESPACE
