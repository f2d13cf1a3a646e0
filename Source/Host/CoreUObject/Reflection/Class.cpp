#include "CoreUObject/Reflection/Class.h"

UClass::UClass(UClass* InSuperClass, FString InCppName, EClassFlags InFlags, FFactory InFactory)
    : SuperClass(InSuperClass), CppName(std::move(InCppName)), Flags(InFlags), Factory(InFactory)
{
}

bool UClass::IsChildOf(const UClass* Other) const
{
    for (const UClass* Class = this; Class; Class = Class->SuperClass)
    {
        if (Class == Other)
        {
            return true;
        }
    }
    return false;
}

TArray<const FProperty*> UClass::GetProperties() const
{
    TArray<const FProperty*> Result = SuperClass ? SuperClass->GetProperties() : TArray<const FProperty*>();
    for (const auto& Property : Properties)
    {
        Result.Add(Property.get());
    }
    return Result;
}

TArray<const FFunction*> UClass::GetFunctions() const
{
    TArray<const FFunction*> Result = SuperClass ? SuperClass->GetFunctions() : TArray<const FFunction*>();
    for (const auto& Function : Functions)
    {
        Result.Add(Function.get());
    }
    return Result;
}

const TArray<const FProperty*>& UClass::GetReferenceProperties() const
{
    if (!bReferencePropertiesCached)
    {
        ReferenceProperties = GetProperties().FilterByPredicate([](const FProperty* Property)
                                                                { return Property->HasReferences(); });
        bReferencePropertiesCached = true;
    }
    return ReferenceProperties;
}

const FProperty* UClass::FindPropertyByName(FName Name) const
{
    for (const UClass* Class = this; Class; Class = Class->SuperClass)
    {
        for (const auto& Property : Class->Properties)
        {
            if (Property->GetFName() == Name)
            {
                return Property.get();
            }
        }
    }
    return nullptr;
}

const FFunction* UClass::FindFunctionByName(FName Name) const
{
    for (const UClass* Class = this; Class; Class = Class->SuperClass)
    {
        for (const auto& Function : Class->Functions)
        {
            if (Function->GetFName() == Name)
            {
                return Function.get();
            }
        }
    }
    return nullptr;
}

void UClass::AddProperty(std::unique_ptr<FProperty> Property)
{
    VT_CHECKF(!bReferencePropertiesCached, "properties are added to %s after it was in use", *CppName);
    VT_CHECKF(!FindPropertyByName(Property->GetFName()), "%s declares %s twice", *CppName,
              *Property->GetName());
    Properties.push_back(std::move(Property));
}

void UClass::AddFunction(std::unique_ptr<FFunction> Function)
{
    VT_CHECKF(!FindFunctionByName(Function->GetFName()), "%s declares %s twice", *CppName,
              *Function->GetName());
    Functions.push_back(std::move(Function));
}

UObject* UClass::CreateInstance() const
{
    VT_CHECKF(!IsAbstract(), "class %s is abstract", *CppName);
    return Factory();
}
