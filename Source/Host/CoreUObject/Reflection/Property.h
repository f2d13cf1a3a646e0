#pragma once

#include "CoreUObject/Object/Object.h"
#include "CoreUObject/Reflection/MetaData.h"
#include "CoreUObject/Reflection/PropertyTraits.h"

#include <cmath>
#include <limits>
#include <typeinfo>

enum class EPropertyFlags : uint32
{
    None = 0,
    /** Editable in the details panel. */
    Edit = 1u << 0,
    /** Shown in the details panel, read-only. */
    VisibleOnly = 1u << 1,
};

constexpr EPropertyFlags operator|(EPropertyFlags A, EPropertyFlags B)
{
    return static_cast<EPropertyFlags>(static_cast<uint32>(A) | static_cast<uint32>(B));
}
constexpr bool operator&(EPropertyFlags A, EPropertyFlags B)
{
    return (static_cast<uint32>(A) & static_cast<uint32>(B)) != 0;
}

/**
 * A reflected member variable of a class: its name, flags, metadata, and type-erased access
 * to its value in an object of that class.
 */
class FProperty : public FField
{
public:
    FProperty(FName InName, EPropertyFlags InFlags, FMetaData InMetaData)
        : FField(InName, std::move(InMetaData)), Flags(InFlags)
    {
    }

    EPropertyFlags GetFlags() const { return Flags; }
    bool IsEditable() const { return Flags & EPropertyFlags::Edit; }
    bool IsVisible() const { return IsEditable() || (Flags & EPropertyFlags::VisibleOnly); }

    virtual EPropertyKind GetKind() const = 0;
    /** The property's type as code names it ("double", "FString", "ERivetSlotTargetMode"). */
    virtual FString GetTypeName() const = 0;
    /** The enumeration of an enum property; null for other kinds. */
    virtual const UEnum* GetEnum() const { return nullptr; }
    virtual const std::type_info& GetValueType() const = 0;

    /** The value in text form. */
    virtual FString ExportText(const UObject* Object) const = 0;
    /**
     * Reads the value from text. Numbers are clamped to ClampMin/ClampMax as the details
     * panel does. On bad text the value is left alone and OutError says why.
     */
    virtual bool ImportText(UObject* Object, const FString& Text, FString& OutError) const = 0;
    /** True when ImportText would accept the text; otherwise OutError says why. */
    virtual bool IsValidText(const FString& Text, FString& OutError) const = 0;
    /** Whether the value can refer to objects (object pointers, arrays of them). */
    virtual bool HasReferences() const = 0;
    /** Reports the objects that the value refers to; references to garbage are cleared. */
    virtual void CollectReferences(UObject* Object, FReferenceCollector& Collector) const = 0;

    /** The value as T; null when the property does not hold a T. */
    template <typename T>
    T* GetValuePtr(UObject* Object) const
    {
        return GetValueType() == typeid(T) ? static_cast<T*>(GetRawValuePtr(Object)) : nullptr;
    }
    template <typename T>
    const T* GetValuePtr(const UObject* Object) const
    {
        return GetValuePtr<T>(const_cast<UObject*>(Object));
    }

protected:
    virtual void* GetRawValuePtr(UObject* Object) const = 0;

private:
    EPropertyFlags Flags;
};

namespace VT::Reflection
{
/** Reads a ClampMin or ClampMax limit; false when the field has none or it is not a number. */
bool ParseClampLimit(const FField& Field, FName Key, long double& OutLimit);

/**
 * Applies ClampMin and ClampMax metadata to a number, exactly for every integer type:
 * limits are rounded inward for integers and saturate at the type's range.
 */
template <typename T>
T ClampByMetaData(const FField& Field, T Value)
{
    const auto Saturate = [](long double Limit)
    {
        if (Limit <= static_cast<long double>(std::numeric_limits<T>::lowest()))
        {
            return std::numeric_limits<T>::lowest();
        }
        if (Limit >= static_cast<long double>(std::numeric_limits<T>::max()))
        {
            return std::numeric_limits<T>::max();
        }
        return static_cast<T>(Limit);
    };
    long double Limit = 0;
    if (ParseClampLimit(Field, "ClampMin", Limit))
    {
        Limit = std::is_integral_v<T> ? std::ceil(Limit) : Limit;
        Value = static_cast<long double>(Value) < Limit ? Saturate(Limit) : Value;
    }
    if (ParseClampLimit(Field, "ClampMax", Limit))
    {
        Limit = std::is_integral_v<T> ? std::floor(Limit) : Limit;
        Value = static_cast<long double>(Value) > Limit ? Saturate(Limit) : Value;
    }
    return Value;
}
} // namespace VT::Reflection

/** A property that is the member Member of ClassType, of type T. */
template <typename ClassType, typename T>
class TMemberProperty final : public FProperty
{
public:
    using Traits = TPropertyTraits<T>;

    TMemberProperty(T ClassType::*InMember, FName InName, EPropertyFlags InFlags, FMetaData InMetaData)
        : FProperty(InName, InFlags, std::move(InMetaData)), Member(InMember)
    {
    }

    EPropertyKind GetKind() const override { return Traits::Kind; }
    FString GetTypeName() const override { return Traits::TypeName(); }
    const UEnum* GetEnum() const override
    {
        if constexpr (Traits::Kind == EPropertyKind::Enum)
        {
            return Traits::GetEnum();
        }
        return nullptr;
    }
    const std::type_info& GetValueType() const override { return typeid(T); }

    FString ExportText(const UObject* Object) const override { return Traits::Export(Value(Object)); }
    bool ImportText(UObject* Object, const FString& Text, FString& OutError) const override
    {
        T NewValue{};
        if (!Traits::Import(Text, NewValue, OutError))
        {
            return false;
        }
        if constexpr (requires { Traits::bNumeric; })
        {
            NewValue = VT::Reflection::ClampByMetaData(*this, NewValue);
        }
        Value(Object) = std::move(NewValue);
        return true;
    }
    bool IsValidText(const FString& Text, FString& OutError) const override
    {
        T Parsed{};
        return Traits::Import(Text, Parsed, OutError);
    }
    bool HasReferences() const override { return TPropertyHasReferences<T>; }
    void CollectReferences(UObject* Object, FReferenceCollector& Collector) const override
    {
        if constexpr (TPropertyHasReferences<T>)
        {
            Traits::CollectReferences(Value(Object), Collector);
        }
        (void)Object;
        (void)Collector;
    }

protected:
    void* GetRawValuePtr(UObject* Object) const override { return &Value(Object); }

private:
    T& Value(UObject* Object) const
    {
        VT_CHECKF(Object && Object->IsA<ClassType>(), "property %s used on an object of another class",
                  *GetName());
        return static_cast<ClassType*>(Object)->*Member;
    }
    const T& Value(const UObject* Object) const { return Value(const_cast<UObject*>(Object)); }

    T ClassType::*Member;
};
