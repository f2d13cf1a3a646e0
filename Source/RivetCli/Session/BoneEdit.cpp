#include "RivetCli/Session/BoneEdit.h"

#include "AnimGraph/Animation/AnimPreviewInstance.h"
#include "Core/Math/MathText.h"

#include <cmath>

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
    if (!std::isfinite(Numbers[0]) || !std::isfinite(Numbers[1]) || !std::isfinite(Numbers[2]))
    {
        OutError = FString::Printf("'%s' needs finite numbers in '%s'", *Key, *Part);
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

/**
 * Where the bone's name ends: at the first colon that a part follows. A bone name may hold colons itself
 * ("rig:Hips:rotation=0,90,0"); without any part, at the first colon.
 */
size_t FindNameEnd(std::string_view Text)
{
    for (size_t Colon = Text.find(':'); Colon != std::string_view::npos; Colon = Text.find(':', Colon + 1))
    {
        const FString Rest = FString(Text.substr(Colon + 1)).TrimStartAndEnd().ToLower();
        for (const char* Key : {"location=", "rotation=", "scale="})
        {
            if (Rest.StartsWith(Key))
            {
                return Colon;
            }
        }
    }
    return Text.find(':');
}
} // namespace

bool ParseBoneEdit(const FString& Text, FBoneEditRequest& OutEdit, FString& OutError)
{
    const size_t NameEnd = FindNameEnd(Text.View());
    const FString Bone = NameEnd == std::string_view::npos ? Text : FString(Text.View().substr(0, NameEnd));
    const FString Parts =
        NameEnd == std::string_view::npos ? FString() : FString(Text.View().substr(NameEnd + 1));
    if (NameEnd == std::string_view::npos || Bone.TrimStartAndEnd().IsEmpty())
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
