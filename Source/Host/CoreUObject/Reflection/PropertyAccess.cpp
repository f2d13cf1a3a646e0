#include "CoreUObject/Reflection/PropertyAccess.h"

namespace VT::Reflection
{
namespace
{
template <typename FieldType>
const FieldType* FindByAnyName(const TArray<const FieldType*>& Fields, const FString& Name)
{
    const FString Wanted = Name.TrimStartAndEnd();
    for (const FieldType* Field : Fields)
    {
        if (Field->GetName().Equals(Wanted, ESearchCase::IgnoreCase))
        {
            return Field;
        }
    }
    for (const FieldType* Field : Fields)
    {
        if (Field->GetDisplayName().Equals(Wanted, ESearchCase::IgnoreCase))
        {
            return Field;
        }
    }
    return nullptr;
}

/** Compares a property's current value with a value written in a condition. */
bool ValueMatches(const UObject* Object, const FProperty& Property, const FString& Written)
{
    const FString Current = Property.ExportText(Object);
    FString Expected = Written.TrimStartAndEnd();
    if (const UEnum* Enum = Property.GetEnum())
    {
        const std::optional<int64> Value = Enum->FindValue(Expected);
        return Value && Current == Enum->GetNameStringByValue(*Value);
    }
    double CurrentNumber = 0.0;
    double ExpectedNumber = 0.0;
    if (ParseReal(Current, CurrentNumber) && ParseReal(Expected, ExpectedNumber))
    {
        return CurrentNumber == ExpectedNumber;
    }
    bool CurrentBool = false;
    bool ExpectedBool = false;
    if (Property.GetKind() == EPropertyKind::Bool && ParseBool(Current, CurrentBool) &&
        ParseBool(Expected, ExpectedBool))
    {
        return CurrentBool == ExpectedBool;
    }
    return Current.Equals(Unquote(Expected), ESearchCase::IgnoreCase);
}

bool EvaluateTerm(const UObject* Object, const FString& Term)
{
    const UClass* Class = Object->GetClass();
    FString Left;
    FString Right;
    for (const char* Operator : {"==", "!="})
    {
        if (Term.Split(Operator, &Left, &Right))
        {
            const FProperty* Property = Class->FindPropertyByName(FName::Find(*Left.TrimStartAndEnd()));
            const bool bMatches = Property && ValueMatches(Object, *Property, Right);
            return Operator[0] == '=' ? bMatches : (Property && !bMatches);
        }
    }
    FString Name = Term.TrimStartAndEnd();
    const bool bNegated = Name.StartsWith("!");
    if (bNegated)
    {
        Name = Name.RightChop(1).TrimStartAndEnd();
    }
    const FProperty* Property = Class->FindPropertyByName(FName::Find(*Name));
    bool bValue = false;
    if (!Property || !ParseBool(Property->ExportText(Object), bValue))
    {
        return false;
    }
    return bValue != bNegated;
}
} // namespace

const FProperty* FindPropertyByAnyName(const UClass* Class, const FString& Name)
{
    return FindByAnyName(Class->GetProperties(), Name);
}

const FFunction* FindFunctionByAnyName(const UClass* Class, const FString& Name)
{
    return FindByAnyName(Class->GetFunctions(), Name);
}

bool SetPropertyValueFromText(UObject* Object, const FProperty& Property, const FString& Text,
                              FString& OutError)
{
    VT_CHECK(Object != nullptr);
    if (!Property.IsValidText(Text, OutError))
    {
        return false;
    }
    Object->Modify();
    Object->PreEditChange(&Property);
    const bool bImported = Property.ImportText(Object, Text, OutError);
    VT_CHECKF(bImported, "text that was valid a moment ago failed to import");
    FPropertyChangedEvent Event{&Property};
    Object->PostEditChangeProperty(Event);
    return true;
}

bool CallFunctionByName(UObject* Object, const FString& Name, FString& OutError)
{
    VT_CHECK(Object != nullptr);
    const FFunction* Function = FindFunctionByAnyName(Object->GetClass(), Name);
    if (!Function)
    {
        OutError = FString::Printf("%s has no function '%s'", *Object->GetClass()->GetName(), *Name);
        return false;
    }
    Function->Invoke(Object);
    return true;
}

bool IsEditConditionMet(const UObject* Object, const FProperty& Property)
{
    const FString& Condition = Property.GetMetaData("EditCondition");
    if (Condition.TrimStartAndEnd().IsEmpty())
    {
        return true;
    }
    TArray<FString> Alternatives;
    Condition.ParseIntoArray(Alternatives, "||");
    for (const FString& Alternative : Alternatives)
    {
        TArray<FString> Terms;
        Alternative.ParseIntoArray(Terms, "&&");
        if (!Terms.ContainsByPredicate([Object](const FString& Term) { return !EvaluateTerm(Object, Term); }))
        {
            return true;
        }
    }
    return false;
}
} // namespace VT::Reflection
