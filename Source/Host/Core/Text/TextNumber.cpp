#include "Core/Text/Text.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace
{
constexpr size_t MaxFractionDigits = 3;

/** Puts a ',' between every group of three digits, counting from the right. */
std::string GroupDigits(std::string_view Digits)
{
    std::string Result;
    Result.reserve(Digits.size() + Digits.size() / 3);
    for (size_t Index = 0; Index < Digits.size(); ++Index)
    {
        if (Index > 0 && (Digits.size() - Index) % 3 == 0)
        {
            Result += ',';
        }
        Result += Digits[Index];
    }
    return Result;
}

/** Adds one unit in the last place of a string of decimal digits. */
void IncrementDigits(std::string& Digits)
{
    for (size_t Index = Digits.size(); Index-- > 0;)
    {
        if (Digits[Index] != '9')
        {
            ++Digits[Index];
            return;
        }
        Digits[Index] = '0';
    }
    Digits.insert(Digits.begin(), '1');
}

/**
 * Rounds the decimal number Integer.Fraction half away from zero to MaxFractionDigits and
 * drops trailing zeros of the fraction. Works on the digits, so 1.2345 rounds up as written.
 */
void RoundDecimal(std::string& Integer, std::string& Fraction)
{
    if (Fraction.size() > MaxFractionDigits)
    {
        const bool bRoundUp = Fraction[MaxFractionDigits] >= '5';
        Fraction.resize(MaxFractionDigits);
        if (bRoundUp)
        {
            std::string Digits = Integer + Fraction;
            IncrementDigits(Digits);
            Integer = Digits.substr(0, Digits.size() - MaxFractionDigits);
            Fraction = Digits.substr(Digits.size() - MaxFractionDigits);
        }
    }
    while (!Fraction.empty() && Fraction.back() == '0')
    {
        Fraction.pop_back();
    }
}

std::string FormatFinite(double Value)
{
    // The shortest decimal that reads back as the same double, in positional notation;
    // the largest double has 309 integer digits, the smallest about 330 fraction digits.
    char Buffer[512];
    const std::to_chars_result Written =
        std::to_chars(Buffer, Buffer + sizeof(Buffer), std::fabs(Value), std::chars_format::fixed);
    const std::string_view Decimal(Buffer, static_cast<size_t>(Written.ptr - Buffer));
    const size_t Point = Decimal.find('.');
    std::string Integer(Decimal.substr(0, Point));
    std::string Fraction(Point == std::string_view::npos ? std::string_view() : Decimal.substr(Point + 1));
    RoundDecimal(Integer, Fraction);

    const bool bZero = Fraction.empty() && Integer.find_first_not_of('0') == std::string::npos;
    std::string Result = (std::signbit(Value) && !bZero) ? "-" : "";
    Result += GroupDigits(Integer);
    if (!Fraction.empty())
    {
        Result += '.';
        Result += Fraction;
    }
    return Result;
}
} // namespace

FText FText::AsNumber(int64 Value)
{
    const uint64 Magnitude = Value < 0 ? 0 - static_cast<uint64>(Value) : static_cast<uint64>(Value);
    std::string Result = Value < 0 ? "-" : "";
    Result += GroupDigits(std::to_string(Magnitude));
    return FromString(FString(std::move(Result)));
}

FText FText::AsNumber(uint64 Value)
{
    return FromString(FString(GroupDigits(std::to_string(Value))));
}

FText FText::AsNumber(double Value)
{
    if (std::isnan(Value))
    {
        return FromString("NaN");
    }
    if (std::isinf(Value))
    {
        return FromString(Value < 0 ? "-Infinity" : "Infinity");
    }
    return FromString(FString(FormatFinite(Value)));
}
