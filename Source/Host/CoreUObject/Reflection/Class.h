#pragma once

#include "Core/Containers/Array.h"
#include "CoreUObject/Object/Object.h"
#include "CoreUObject/Reflection/Function.h"
#include "CoreUObject/Reflection/MetaData.h"
#include "CoreUObject/Reflection/Property.h"

#include <memory>
#include <vector>

enum class EClassFlags : uint32
{
    None = 0,
    /** Objects of the class itself cannot be made. */
    Abstract = 1u << 0,
};

/**
 * The reflection of an object class: its super class, the properties and functions that it
 * declares (in declaration order), its metadata and the factory that makes its objects.
 * A class is itself an object, named without the "U" prefix, in the script package of its
 * module ("/Script/Engine.SkeletalMesh").
 */
class UClass : public UObject
{
public:
    using Super = UObject;
    using ThisClass = UClass;
    using FFactory = UObject* (*)();

    static UClass* StaticClass();

    UClass(UClass* InSuperClass, FString InCppName, EClassFlags InFlags, FFactory InFactory);

    UClass* GetSuperClass() const { return SuperClass; }
    bool IsChildOf(const UClass* Other) const;
    template <typename T>
    bool IsChildOf() const
    {
        return IsChildOf(T::StaticClass());
    }
    /** The class name as code writes it ("USkeletalMesh"). */
    const FString& GetCppName() const { return CppName; }
    /** True when objects of exactly this class cannot be made. */
    bool IsAbstract() const { return Flags == EClassFlags::Abstract || !Factory; }

    const FMetaData& GetMetaData() const { return MetaData; }
    bool HasMetaData(FName Key) const { return MetaData.Has(Key); }
    const FString& GetMetaDataText(FName Key) const { return MetaData.Get(Key); }
    void SetMetaData(FMetaData InMetaData) { MetaData = std::move(InMetaData); }

    /** The properties of this class and its supers, the supers' first, each in declaration order. */
    TArray<const FProperty*> GetProperties() const;
    /** The functions of this class and its supers, the supers' first, each in declaration order. */
    TArray<const FFunction*> GetFunctions() const;
    /** The properties of this class and its supers that can refer to objects; what the collector walks. */
    const TArray<const FProperty*>& GetReferenceProperties() const;
    /** Finds a property of this class or a super by name (without regard to case). */
    const FProperty* FindPropertyByName(FName Name) const;
    const FFunction* FindFunctionByName(FName Name) const;

    void AddProperty(std::unique_ptr<FProperty> Property);
    void AddFunction(std::unique_ptr<FFunction> Function);

    /** Makes a new, not yet registered object of this class. */
    UObject* CreateInstance() const;

private:
    UClass* SuperClass;
    FString CppName;
    EClassFlags Flags;
    FFactory Factory;
    FMetaData MetaData;
    std::vector<std::unique_ptr<FProperty>> Properties;
    std::vector<std::unique_ptr<FFunction>> Functions;
    mutable TArray<const FProperty*> ReferenceProperties;
    mutable bool bReferencePropertiesCached = false;
};
