#include "RivetCli/Session/BoneEdit.h"

#include "AnimGraph/Animation/AnimPreviewInstance.h"
#include "Core/Math/MathText.h"

namespace
{
const char* const PartForms = "location=X,Y,Z, rotation=P,Y,R or scale=S (or X,Y,Z)";

bool ParsePart(const FString& Part, FBoneEditRequest& OutEdit, FString& OutError)
{
    FString Key;
    FString Value;
    double Numbers[3];
    if (!Part.Split("=", &Key, &Value))
    {
        OutError = FString::Printf("'%s' is not one of %s", *Part, PartForms);
        return false;
    }
    Key = Key.ToLower();
    const bool bScale = Key == "scale";
    if (bScale && VT::Math::ParseNumber(Value.View(), Numbers[0]))
    {
        Numbers[1] = Numbers[2] = Numbers[0];
    }
    else if (!VT::Math::ParseNumberList(Value.View(), ',', Numbers))
    {
        OutError = FString::Printf("'%s' needs three numbers separated by commas in '%s'", *Key, *Part);
        return false;
    }
    if (Key == "location")
    {
        OutEdit.Location = FVector(Numbers[0], Numbers[1], Numbers[2]);
    }
    else if (Key == "rotation")
    {
        OutEdit.Rotation = FRotator(Numbers[0], Numbers[1], Numbers[2]);
    }
    else if (bScale)
    {
        OutEdit.Scale = FVector(Numbers[0], Numbers[1], Numbers[2]);
    }
    else
    {
        OutError = FString::Printf("'%s' is not one of %s", *Part, PartForms);
        return false;
    }
    return true;
}
} // namespace

bool ParseBoneEdit(const FString& Text, FBoneEditRequest& OutEdit, FString& OutError)
{
    FString Bone;
    FString Parts;
    if (!Text.Split(":", &Bone, &Parts) || Bone.TrimStartAndEnd().IsEmpty())
    {
        OutError = FString::Printf("expected BONE:PART[:PART...] with parts %s, got '%s'", PartForms, *Text);
        return false;
    }
    FBoneEditRequest Edit;
    Edit.Bone = Bone.TrimStartAndEnd();
    std::string Separated = Parts.ToStdString();
    for (char& Character : Separated)
    {
        Character = Character == ':' || Character == '\t' ? ' ' : Character;
    }
    TArray<FString> Words;
    FString(Separated).ParseIntoArray(Words, " ");
    if (Words.IsEmpty())
    {
        OutError = FString::Printf("'%s' edits nothing: give %s", *Text, PartForms);
        return false;
    }
    for (const FString& Word : Words)
    {
        if (!ParsePart(Word, Edit, OutError))
        {
            return false;
        }
    }
    OutEdit = std::move(Edit);
    return true;
}

void ApplyBoneEdit(UAnimPreviewInstance& Instance, const FBoneEditRequest& Edit)
{
    FAnimNode_ModifyBone& Controller = Instance.ModifyBone(FName(Edit.Bone), false);
    if (Edit.Location)
    {
        Controller.Translation = *Edit.Location;
        Controller.TranslationMode = EBoneEditMode::Replace;
        Controller.TranslationSpace = EBoneEditSpace::ParentBone;
    }
    if (Edit.Rotation)
    {
        Controller.Rotation = *Edit.Rotation;
        Controller.RotationMode = EBoneEditMode::Replace;
        Controller.RotationSpace = EBoneEditSpace::ParentBone;
    }
    if (Edit.Scale)
    {
        Controller.Scale = *Edit.Scale;
        Controller.ScaleMode = EBoneEditMode::Replace;
        Controller.ScaleSpace = EBoneEditSpace::ParentBone;
    }
}
