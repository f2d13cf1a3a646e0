#include "Core/Containers/String.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace
{
std::string Lowered(std::string_view Text)
{
    std::string Result(Text);
    std::transform(Result.begin(), Result.end(), Result.begin(), VT::ToLowerAscii);
    return Result;
}

bool IsSpace(char Character)
{
    return Character == ' ' || Character == '\t' || Character == '\n' || Character == '\r' ||
           Character == '\f' || Character == '\v';
}
} // namespace

FString FString::Printf(const char* Format, ...)
{
    va_list Args;
    va_start(Args, Format);
    FString Result = PrintfV(Format, Args);
    va_end(Args);
    return Result;
}

FString FString::PrintfV(const char* Format, va_list Args)
{
    va_list Copy;
    va_copy(Copy, Args);
    const int Needed = std::vsnprintf(nullptr, 0, Format, Copy);
    va_end(Copy);
    std::string Result(static_cast<size_t>(std::max(Needed, 0)), '\0');
    if (Needed > 0)
    {
        std::vsnprintf(Result.data(), Result.size() + 1, Format, Args);
    }
    return FString(std::move(Result));
}

FString FString::FromInt(int64 Value)
{
    return FString(std::to_string(Value));
}

namespace
{
template <typename T>
FString ShortestReal(T Value)
{
    char Buffer[64];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof(Buffer), Value);
    std::string Text(Buffer, Result.ptr);
    if (Text.find_first_of(".eEn") == std::string::npos)
    {
        Text += ".0";
    }
    return FString(std::move(Text));
}
} // namespace

FString FString::SanitizeFloat(double Value)
{
    return ShortestReal(Value);
}

FString FString::SanitizeFloat(float Value)
{
    return ShortestReal(Value);
}

FString FString::Join(const TArray<FString>& Parts, const char* Separator)
{
    std::string Result;
    for (int32 Index = 0; Index < Parts.Num(); ++Index)
    {
        if (Index > 0)
        {
            Result += Separator;
        }
        Result += Parts[Index].Data;
    }
    return FString(std::move(Result));
}

bool FString::Equals(const FString& Other, ESearchCase SearchCase) const
{
    return Compare(Other, SearchCase) == 0;
}

int32 FString::Compare(const FString& Other, ESearchCase SearchCase) const
{
    if (SearchCase == ESearchCase::CaseSensitive)
    {
        return Data.compare(Other.Data);
    }
    return Lowered(Data).compare(Lowered(Other.Data));
}

namespace
{
bool EqualParts(std::string_view A, std::string_view B, ESearchCase SearchCase)
{
    if (SearchCase == ESearchCase::CaseSensitive)
    {
        return A == B;
    }
    return A.size() == B.size() &&
           std::equal(A.begin(), A.end(), B.begin(),
                      [](char X, char Y) { return VT::ToLowerAscii(X) == VT::ToLowerAscii(Y); });
}
} // namespace

bool FString::StartsWith(std::string_view Prefix, ESearchCase SearchCase) const
{
    return Prefix.size() <= Data.size() && EqualParts(View().substr(0, Prefix.size()), Prefix, SearchCase);
}

bool FString::EndsWith(std::string_view Suffix, ESearchCase SearchCase) const
{
    return Suffix.size() <= Data.size() &&
           EqualParts(View().substr(Data.size() - Suffix.size()), Suffix, SearchCase);
}

bool FString::Contains(std::string_view Part, ESearchCase SearchCase) const
{
    return Find(Part, SearchCase) != INDEX_NONE;
}

int32 FString::Find(std::string_view Part, ESearchCase SearchCase, ESearchDir Direction) const
{
    size_t Position;
    if (SearchCase == ESearchCase::CaseSensitive)
    {
        Position = Direction == ESearchDir::FromStart ? Data.find(Part) : Data.rfind(Part);
    }
    else
    {
        const std::string Haystack = Lowered(Data);
        const std::string Needle = Lowered(Part);
        Position = Direction == ESearchDir::FromStart ? Haystack.find(Needle) : Haystack.rfind(Needle);
    }
    return Position == std::string::npos ? INDEX_NONE : static_cast<int32>(Position);
}

FString FString::Left(int32 Count) const
{
    return FString(Data.substr(0, static_cast<size_t>(std::clamp(Count, 0, Len()))));
}

FString FString::Right(int32 Count) const
{
    const int32 Kept = std::clamp(Count, 0, Len());
    return FString(Data.substr(static_cast<size_t>(Len() - Kept)));
}

FString FString::Mid(int32 Start, int32 Count) const
{
    const int32 First = std::clamp(Start, 0, Len());
    const int32 Kept = std::clamp(Count, 0, Len() - First);
    return FString(Data.substr(static_cast<size_t>(First), static_cast<size_t>(Kept)));
}

FString FString::ToUpper() const
{
    std::string Result = Data;
    std::transform(Result.begin(), Result.end(), Result.begin(),
                   [](char Character) {
                       return (Character >= 'a' && Character <= 'z')
                                  ? static_cast<char>(Character - 'a' + 'A')
                                  : Character;
                   });
    return FString(std::move(Result));
}

FString FString::ToLower() const
{
    return FString(Lowered(Data));
}

FString FString::TrimStartAndEnd() const
{
    size_t First = 0;
    size_t Last = Data.size();
    while (First < Last && IsSpace(Data[First]))
    {
        ++First;
    }
    while (Last > First && IsSpace(Data[Last - 1]))
    {
        --Last;
    }
    return FString(Data.substr(First, Last - First));
}

FString FString::Replace(std::string_view From, std::string_view To) const
{
    if (From.empty())
    {
        return *this;
    }
    std::string Result;
    size_t Start = 0;
    for (size_t Position; (Position = Data.find(From, Start)) != std::string::npos;
         Start = Position + From.size())
    {
        Result.append(Data, Start, Position - Start);
        Result.append(To);
    }
    Result.append(Data, Start);
    return FString(std::move(Result));
}

bool FString::Split(std::string_view Separator, FString* OutLeft, FString* OutRight) const
{
    const size_t Position = Data.find(Separator);
    if (Position == std::string::npos)
    {
        return false;
    }
    if (OutLeft)
    {
        *OutLeft = FString(Data.substr(0, Position));
    }
    if (OutRight)
    {
        *OutRight = FString(Data.substr(Position + Separator.size()));
    }
    return true;
}

int32 FString::ParseIntoArray(TArray<FString>& OutParts, std::string_view Separator, bool bCullEmpty) const
{
    OutParts.Reset();
    VT_CHECK(!Separator.empty());
    size_t Start = 0;
    while (true)
    {
        const size_t Position = Data.find(Separator, Start);
        const std::string_view Part = std::string_view(Data).substr(
            Start, Position == std::string::npos ? std::string::npos : Position - Start);
        if (!bCullEmpty || !Part.empty())
        {
            OutParts.Add(FString(Part));
        }
        if (Position == std::string::npos)
        {
            break;
        }
        Start = Position + Separator.size();
    }
    return OutParts.Num();
}

bool FString::IsNumeric() const
{
    if (Data.empty())
    {
        return false;
    }
    const char* Begin = Data.c_str();
    char* End = nullptr;
    errno = 0;
    std::strtod(Begin, &End);
    const bool bOnlyDigitsAndSign = Data.find_first_not_of("+-0123456789.eE") == std::string::npos;
    return bOnlyDigitsAndSign && End == Begin + Data.size();
}

std::ostream& operator<<(std::ostream& Stream, const FString& Value)
{
    return Stream << Value.View();
}
