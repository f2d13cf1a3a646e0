#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"

#include <cstdarg>
#include <iosfwd>
#include <string>
#include <string_view>

/**
 * A UTF-8 string. Lengths and positions count bytes; case-insensitive operations fold
 * ASCII letters only. Comparison with == is case-sensitive; Equals takes a search case.
 */
class FString
{
public:
    FString() = default;
    FString(const char* Text) : Data(Text ? Text : "") {}
    FString(std::string Text) : Data(std::move(Text)) {}
    FString(std::string_view Text) : Data(Text) {}

    /** Formats like printf. */
    static FString Printf(const char* Format, ...) __attribute__((format(printf, 1, 2)));
    static FString PrintfV(const char* Format, va_list Args) __attribute__((format(printf, 1, 0)));
    static FString FromInt(int64 Value);
    /** A double in the shortest form that reads back to the same value, always with a fraction ("1.0"). */
    static FString SanitizeFloat(double Value);
    static FString SanitizeFloat(float Value);
    static FString Join(const TArray<FString>& Parts, const char* Separator);

    const char* operator*() const { return Data.c_str(); }
    const std::string& ToStdString() const { return Data; }
    std::string_view View() const { return Data; }

    int32 Len() const { return static_cast<int32>(Data.size()); }
    bool IsEmpty() const { return Data.empty(); }
    void Empty() { Data.clear(); }

    FString& operator+=(const FString& Other)
    {
        Data += Other.Data;
        return *this;
    }
    FString& operator+=(const char* Other)
    {
        Data += Other;
        return *this;
    }
    FString& operator+=(char Character)
    {
        Data += Character;
        return *this;
    }
    friend FString operator+(FString Left, const FString& Right) { return Left += Right; }
    friend FString operator+(FString Left, const char* Right) { return Left += Right; }
    friend FString operator+(const char* Left, const FString& Right) { return FString(Left) += Right; }

    bool operator==(const FString& Other) const = default;
    auto operator<=>(const FString& Other) const = default;
    bool operator==(const char* Other) const { return Data == Other; }

    bool Equals(const FString& Other, ESearchCase SearchCase = ESearchCase::CaseSensitive) const;
    int32 Compare(const FString& Other, ESearchCase SearchCase = ESearchCase::CaseSensitive) const;
    bool StartsWith(std::string_view Prefix, ESearchCase SearchCase = ESearchCase::CaseSensitive) const;
    bool EndsWith(std::string_view Suffix, ESearchCase SearchCase = ESearchCase::CaseSensitive) const;
    bool Contains(std::string_view Part, ESearchCase SearchCase = ESearchCase::CaseSensitive) const;
    /** The byte position of Part, or INDEX_NONE. */
    int32 Find(std::string_view Part, ESearchCase SearchCase = ESearchCase::CaseSensitive,
               ESearchDir Direction = ESearchDir::FromStart) const;

    FString Left(int32 Count) const;
    FString Right(int32 Count) const;
    FString Mid(int32 Start, int32 Count = INT32_MAX) const;
    FString LeftChop(int32 Count) const { return Left(Len() - Count); }
    FString RightChop(int32 Count) const { return Mid(Count); }

    FString ToUpper() const;
    FString ToLower() const;
    FString TrimStartAndEnd() const;
    FString Replace(std::string_view From, std::string_view To) const;

    /** Splits at the first occurrence of Separator; false when it does not occur. */
    bool Split(std::string_view Separator, FString* OutLeft, FString* OutRight) const;
    /** Splits at every Separator; returns the number of parts. */
    int32 ParseIntoArray(TArray<FString>& OutParts, std::string_view Separator, bool bCullEmpty = true) const;

    /** True for an optionally signed decimal number, with or without fraction and exponent. */
    bool IsNumeric() const;

    friend uint32 GetTypeHash(const FString& Value)
    {
        return static_cast<uint32>(std::hash<std::string>{}(Value.Data));
    }

private:
    std::string Data;
};

/** Writes the string to a stream (test output, diagnostics). */
std::ostream& operator<<(std::ostream& Stream, const FString& Value);

namespace VT
{
inline char ToLowerAscii(char Character)
{
    return (Character >= 'A' && Character <= 'Z') ? static_cast<char>(Character - 'A' + 'a') : Character;
}
} // namespace VT
