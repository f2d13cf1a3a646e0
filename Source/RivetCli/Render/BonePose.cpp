#include "RivetCli/Render/BonePose.h"

#include "Core/Animation/BoneWeight.h"
#include "Core/Math/ForwardKinematics.h"
#include "Engine/Animation/ReferenceSkeleton.h"

bool ComputeBoneMoves(const FReferenceSkeleton& Skeleton, const TArray<FBoneEditRequest>& Edits,
                      TArray<FBoneMove>& OutMoves, FString& OutError)
{
    const TArray<FTransform>& Reference = Skeleton.GetRefBonePose();
    TArray<FTransform> Posed(Reference);
    for (const FBoneEditRequest& Edit : Edits)
    {
        const int32 Bone = Skeleton.FindBoneIndex(FName(Edit.Bone));
        if (Bone == INDEX_NONE)
        {
            OutError = FString::Printf("no bone '%s'", *Edit.Bone);
            return false;
        }
        FTransform& Local = Posed[Bone];
        if (Edit.Location)
        {
            Local.SetTranslation(*Edit.Location);
        }
        if (Edit.Rotation)
        {
            Local.SetRotation(Edit.Rotation->Quaternion());
        }
        if (Edit.Scale)
        {
            Local.SetScale3D(*Edit.Scale);
        }
    }
    const TArray<int32> Parents = Skeleton.GetParentIndices();
    TArray<FTransform> ReferenceComponent;
    TArray<FTransform> PosedComponent;
    VT::Math::FillComponentSpaceTransforms(Reference, Parents, ReferenceComponent);
    VT::Math::FillComponentSpaceTransforms(Posed, Parents, PosedComponent);
    OutMoves.Reset();
    for (int32 Bone = 0; Bone < Reference.Num(); ++Bone)
    {
        OutMoves.Add({ReferenceComponent[Bone], PosedComponent[Bone]});
    }
    return true;
}

FVector SkinPosition(const FVector& Position, std::span<const FBoneWeight> Weights,
                     const TArray<FBoneMove>& Moves)
{
    FVector Sum;
    double Total = 0.0;
    for (const FBoneWeight& Weight : Weights)
    {
        if (Weight.RawWeight == 0 || !Moves.IsValidIndex(Weight.BoneIndex))
        {
            continue;
        }
        const FBoneMove& Move = Moves[Weight.BoneIndex];
        Sum += Move.Posed.TransformPosition(Move.Reference.InverseTransformPosition(Position)) *
               Weight.GetWeight();
        Total += Weight.GetWeight();
    }
    return Total > 0.0 ? Sum / Total : Position;
}
