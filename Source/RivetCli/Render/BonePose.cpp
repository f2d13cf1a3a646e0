#include "RivetCli/Render/BonePose.h"

#include "Core/Animation/BoneWeight.h"
#include "Core/Math/ForwardKinematics.h"
#include "Engine/Animation/ReferenceSkeleton.h"

#include <charconv>
#include <cmath>

namespace
{
bool ParseNumbers(const FString& Text, TArray<double>& Out)
{
    TArray<FString> Parts;
    Text.ParseIntoArray(Parts, ",", /*bCullEmpty=*/false);
    for (const FString& Part : Parts)
    {
        const FString Trimmed = Part.TrimStartAndEnd();
        const std::string_view View = Trimmed.View();
        double Value = 0.0;
        const auto [End, Error] = std::from_chars(View.data(), View.data() + View.size(), Value);
        if (View.empty() || Error != std::errc() || End != View.data() + View.size() || !std::isfinite(Value))
        {
            return false;
        }
        Out.Add(Value);
    }
    return true;
}

/** Reads one "key=value" part into the edit; false when the part is not one. */
bool ParseEditPart(const FString& Part, FBoneEdit& Edit)
{
    FString Key;
    FString Value;
    TArray<double> Numbers;
    if (!Part.Split("=", &Key, &Value) || !ParseNumbers(Value, Numbers))
    {
        return false;
    }
    Key = Key.TrimStartAndEnd().ToLower();
    if (Key == "rotation" && Numbers.Num() == 3)
    {
        Edit.Rotation = FRotator(Numbers[0], Numbers[1], Numbers[2]);
    }
    else if (Key == "location" && Numbers.Num() == 3)
    {
        Edit.Location = FVector(Numbers[0], Numbers[1], Numbers[2]);
    }
    else if (Key == "scale" && (Numbers.Num() == 1 || Numbers.Num() == 3))
    {
        Edit.Scale = Numbers.Num() == 1 ? FVector(Numbers[0], Numbers[0], Numbers[0])
                                        : FVector(Numbers[0], Numbers[1], Numbers[2]);
    }
    else
    {
        return false;
    }
    return true;
}
} // namespace

bool ParseBoneEdit(const FString& Text, FBoneEdit& Out, FString& OutError)
{
    TArray<FString> Parts;
    Text.ParseIntoArray(Parts, ":", /*bCullEmpty=*/false);
    FBoneEdit Edit;
    // The edits are the trailing parts that read as edits; what comes before them is the bone's name.
    int32 NameParts = Parts.Num();
    while (NameParts > 1 && ParseEditPart(Parts[NameParts - 1], Edit))
    {
        --NameParts;
    }
    TArray<FString> NameOnly(Parts);
    NameOnly.SetNum(NameParts);
    Edit.Bone = FString::Join(NameOnly, ":").TrimStartAndEnd();
    if (NameParts == Parts.Num() || Edit.Bone.IsEmpty())
    {
        OutError = FString::Printf("'%s' is not a bone edit (NAME:rotation=P,Y,R, NAME:location=X,Y,Z, "
                                   "NAME:scale=S or S,S,S, combinable)",
                                   *Text);
        return false;
    }
    Out = std::move(Edit);
    return true;
}

bool ComputeBoneMoves(const FReferenceSkeleton& Skeleton, const TArray<FBoneEdit>& Edits,
                      TArray<FBoneMove>& OutMoves, FString& OutError)
{
    const TArray<FTransform>& Reference = Skeleton.GetRefBonePose();
    TArray<FTransform> Posed(Reference);
    for (const FBoneEdit& Edit : Edits)
    {
        const int32 Bone = Skeleton.FindBoneIndex(FName(Edit.Bone));
        if (Bone == INDEX_NONE)
        {
            OutError = FString::Printf("no bone '%s'", *Edit.Bone);
            return false;
        }
        Posed[Bone] = FTransform(Edit.Rotation, Edit.Location, Edit.Scale) * Posed[Bone];
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
