#pragma once

#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "CoreUObject/Reflection/PropertyTraits.h"

/** A reflected object reference: written as the object's path name, kept alive by the collector. */
template <typename T>
struct TPropertyTraits<TObjectPtr<T>>
{
    static constexpr EPropertyKind Kind = EPropertyKind::Object;
    static FString TypeName() { return "TObjectPtr<" + T::StaticClass()->GetCppName() + ">"; }
    static FString Export(const TObjectPtr<T>& Value)
    {
        return Value ? Value->GetPathName() : FString("None");
    }
    static bool Import(const FString& Text, TObjectPtr<T>& Value, FString& Error)
    {
        const FString Path = Text.TrimStartAndEnd();
        if (Path.IsEmpty() || Path == "None")
        {
            Value = nullptr;
            return true;
        }
        T* Found = FindObject<T>(Path);
        if (!Found)
        {
            Error = FString::Printf("no %s named '%s'", *T::StaticClass()->GetName(), *Path);
            return false;
        }
        Value = Found;
        return true;
    }
    static void CollectReferences(TObjectPtr<T>& Value, FReferenceCollector& Collector)
    {
        Collector.AddReferencedObject(Value);
    }
};
