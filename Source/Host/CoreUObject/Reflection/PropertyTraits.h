#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Name/Name.h"
#include "CoreUObject/Reflection/Enum.h"

#include <cmath>
#include <concepts>
#include <limits>
#include <type_traits>

class FReferenceCollector;

/** What kind of value a property holds, as a details panel would tell them apart. */
enum class EPropertyKind : uint8
{
    Bool,
    Integer,
    Real,
    String,
    Name,
    Enum,
    Struct,
    Object,
    Array,
};

/**
 * How a property type converts to and from text, and which objects it refers to.
 * Specialised per supported type; an unsupported type fails to compile where it is reflected.
 * Every specialisation provides Kind, TypeName(), Export(Value) and Import(Text, Value, Error);
 * numeric ones set bNumeric (they are clamped), and references provide CollectReferences.
 */
template <typename T>
struct TPropertyTraits;

namespace VT::Reflection
{
bool ParseBool(const FString& Text, bool& OutValue);
bool ParseInteger(const FString& Text, int64& OutValue);
/** An unsigned whole number; a sign of minus is refused. */
bool ParseInteger(const FString& Text, uint64& OutValue);
bool ParseReal(const FString& Text, double& OutValue);
/** Splits "(a, b, c)" or "a,b,c" into trimmed items, honouring double quotes. */
TArray<FString> SplitList(const FString& Text);
FString QuoteIfNeeded(const FString& Text);
FString Unquote(const FString& Text);
} // namespace VT::Reflection

template <>
struct TPropertyTraits<bool>
{
    static constexpr EPropertyKind Kind = EPropertyKind::Bool;
    static FString TypeName() { return "bool"; }
    static FString Export(bool Value) { return Value ? "true" : "false"; }
    static bool Import(const FString& Text, bool& Value, FString& Error)
    {
        if (VT::Reflection::ParseBool(Text, Value))
        {
            return true;
        }
        Error = FString::Printf("'%s' is not a boolean (true or false)", *Text);
        return false;
    }
};

template <typename T>
requires(std::is_integral_v<T> && !std::is_same_v<T, bool>) struct TPropertyTraits<T>
{
    using WideType = std::conditional_t<std::is_signed_v<T>, int64, uint64>;

    static constexpr EPropertyKind Kind = EPropertyKind::Integer;
    static constexpr bool bNumeric = true;
    static FString TypeName()
    {
        return FString::Printf("%s%d", std::is_signed_v<T> ? "int" : "uint", int(sizeof(T) * 8));
    }
    static FString Export(T Value) { return FString(std::to_string(static_cast<WideType>(Value))); }
    static bool Import(const FString& Text, T& Value, FString& Error)
    {
        WideType Parsed = 0;
        if (!VT::Reflection::ParseInteger(Text, Parsed) || !std::in_range<T>(Parsed))
        {
            Error = FString::Printf("'%s' is not a whole number of type %s", *Text, *TypeName());
            return false;
        }
        Value = static_cast<T>(Parsed);
        return true;
    }
};

template <typename T>
requires std::is_floating_point_v<T>
struct TPropertyTraits<T>
{
    static constexpr EPropertyKind Kind = EPropertyKind::Real;
    static constexpr bool bNumeric = true;
    static FString TypeName() { return sizeof(T) == sizeof(float) ? "float" : "double"; }
    /** The shortest text that reads back to the same value of T. */
    static FString Export(T Value) { return FString::SanitizeFloat(Value); }
    static bool Import(const FString& Text, T& Value, FString& Error)
    {
        double Parsed = 0.0;
        if (!VT::Reflection::ParseReal(Text, Parsed) || std::abs(Parsed) > std::numeric_limits<T>::max())
        {
            Error = FString::Printf("'%s' is not a number", *Text);
            return false;
        }
        Value = static_cast<T>(Parsed);
        return true;
    }
};

template <>
struct TPropertyTraits<FString>
{
    static constexpr EPropertyKind Kind = EPropertyKind::String;
    static FString TypeName() { return "FString"; }
    static FString Export(const FString& Value) { return Value; }
    static bool Import(const FString& Text, FString& Value, FString&)
    {
        Value = Text;
        return true;
    }
};

template <>
struct TPropertyTraits<FName>
{
    static constexpr EPropertyKind Kind = EPropertyKind::Name;
    static FString TypeName() { return "FName"; }
    static FString Export(FName Value) { return Value.ToString(); }
    static bool Import(const FString& Text, FName& Value, FString&)
    {
        Value = FName(Text.TrimStartAndEnd());
        return true;
    }
};

template <typename T>
concept CReflectedEnum = std::is_enum_v<T> && requires(T Value)
{
    {
        StaticEnumOf(Value)
        } -> std::same_as<UEnum*>;
};

template <CReflectedEnum T>
struct TPropertyTraits<T>
{
    static constexpr EPropertyKind Kind = EPropertyKind::Enum;
    static FString TypeName() { return StaticEnum<T>()->GetName(); }
    static const UEnum* GetEnum() { return StaticEnum<T>(); }
    static FString Export(T Value) { return GetEnum()->GetNameStringByValue(static_cast<int64>(Value)); }
    static bool Import(const FString& Text, T& Value, FString& Error)
    {
        const std::optional<int64> Parsed = GetEnum()->FindValue(Text);
        if (!Parsed)
        {
            Error = FString::Printf("'%s' is not a value of %s", *Text, *GetEnum()->GetName());
            return false;
        }
        Value = static_cast<T>(*Parsed);
        return true;
    }
};

/** Whether values of a type can refer to objects that the collector must see. */
template <typename T>
concept TPropertyHasReferences = requires(T& Value, FReferenceCollector& Collector)
{
    TPropertyTraits<T>::CollectReferences(Value, Collector);
}
&&(!requires { TPropertyTraits<T>::bHasReferences; } || TPropertyTraits<T>::bHasReferences);

template <typename T>
struct TPropertyTraits<TArray<T>>
{
    using ElementTraits = TPropertyTraits<T>;

    static constexpr EPropertyKind Kind = EPropertyKind::Array;
    static FString TypeName() { return "TArray<" + ElementTraits::TypeName() + ">"; }
    static FString Export(const TArray<T>& Value)
    {
        TArray<FString> Items;
        for (const T& Element : Value)
        {
            Items.Add(VT::Reflection::QuoteIfNeeded(ElementTraits::Export(Element)));
        }
        return "(" + FString::Join(Items, ",") + ")";
    }
    static bool Import(const FString& Text, TArray<T>& Value, FString& Error)
    {
        TArray<T> Result;
        for (const FString& Item : VT::Reflection::SplitList(Text))
        {
            T Element{};
            if (!ElementTraits::Import(VT::Reflection::Unquote(Item), Element, Error))
            {
                return false;
            }
            Result.Add(std::move(Element));
        }
        Value = std::move(Result);
        return true;
    }
    static constexpr bool bHasReferences = TPropertyHasReferences<T>;
    static void CollectReferences(TArray<T>& Value, FReferenceCollector& Collector)
    {
        if constexpr (bHasReferences)
        {
            for (T& Element : Value)
            {
                ElementTraits::CollectReferences(Element, Collector);
            }
        }
    }
};
