#include "Core/Text/Text.h"

#include <gtest/gtest.h>

#include <limits>
#include <type_traits>
#include <utility>

// A text's namespace, key and source, and UTF-8 through the macros and Format, are checked on the tools'
// messages.

TEST(TextFormat, ArgumentsByIndexWithBacktickEscapes)
{
    const std::pair<const char*, const char*> Cases[] = {
        {"{1} before {0}, {1} again", "B before A, B again"},
        {"{0} and {3}", "A and {3}"},
        {"{} {x} {0", "{} {x} {0"},
        {"`{0`} is {0}", "{0} is A"},
        {"``{0}", "`A"},
        {"a`b`", "a`b`"},
    };
    for (const auto& [Pattern, Expected] : Cases)
    {
        EXPECT_STREQ(*FText::Format(FText::FromString(Pattern), "A", "B").ToString(), Expected) << Pattern;
    }
    const FText Kinds = FText::Format(FText::FromString("{0}|{1}|{2}|{3}|{4}|{5}|{6}"), int8(-5),
                                      uint64(18446744073709551615ull), 1234567, 2.5f, 1234.5678,
                                      FText::FromString("t"), FString("s"));
    EXPECT_STREQ(*Kinds.ToString(), "-5|18,446,744,073,709,551,615|1,234,567|2.5|1,234.568|t|s");
}

static_assert(!std::is_constructible_v<FFormatArgumentValue, char>, "characters would print as numbers");
static_assert(!std::is_constructible_v<FFormatArgumentValue, bool>, "booleans would print as numbers");
static_assert(std::is_constructible_v<FFormatArgumentValue, int8>, "int8 is a number");

TEST(TextNumber, GroupedByThreeWithRealsRoundedToThreeFractionDigits)
{
    EXPECT_STREQ(*FText::AsNumber(999).ToString(), "999");
    EXPECT_STREQ(*FText::AsNumber(-1234567).ToString(), "-1,234,567");
    EXPECT_STREQ(*FText::AsNumber(100000).ToString(), "100,000");
    EXPECT_STREQ(*FText::AsNumber(INT64_MIN).ToString(), "-9,223,372,036,854,775,808");
    EXPECT_STREQ(*FText::AsNumber(0.5).ToString(), "0.5");
    EXPECT_STREQ(*FText::AsNumber(2.125).ToString(), "2.125");
    EXPECT_STREQ(*FText::AsNumber(1000.25).ToString(), "1,000.25");
    EXPECT_STREQ(*FText::AsNumber(3.0).ToString(), "3");
    EXPECT_STREQ(*FText::AsNumber(0.001).ToString(), "0.001");
    EXPECT_STREQ(*FText::AsNumber(1.2345).ToString(), "1.235");
    EXPECT_STREQ(*FText::AsNumber(-1.2345).ToString(), "-1.235");
    EXPECT_STREQ(*FText::AsNumber(999.9996).ToString(), "1,000");
    EXPECT_STREQ(*FText::AsNumber(999.9995).ToString(), "1,000");
    EXPECT_STREQ(*FText::AsNumber(-999999.9996).ToString(), "-1,000,000")
        << "rounding carries into a new group";
    EXPECT_STREQ(*FText::AsNumber(0.0004).ToString(), "0");
    EXPECT_STREQ(*FText::AsNumber(-0.0004).ToString(), "0");
    EXPECT_STREQ(*FText::AsNumber(-0.0).ToString(), "0");
    EXPECT_STREQ(*FText::AsNumber(1e21).ToString(), "1,000,000,000,000,000,000,000");
    EXPECT_STREQ(*FText::AsNumber(std::numeric_limits<double>::quiet_NaN()).ToString(), "NaN");
    EXPECT_STREQ(*FText::AsNumber(std::numeric_limits<double>::infinity()).ToString(), "Infinity");
    EXPECT_STREQ(*FText::AsNumber(-std::numeric_limits<double>::infinity()).ToString(), "-Infinity");
}
