#include "Core/Text/Text.h"

#include <gtest/gtest.h>

#include <limits>
#include <type_traits>

#define VT_LOCTEXT_NAMESPACE "RivetDeletePolygonsTool"

TEST(Text, EachWayOfMakingATextGivesItsIdentity)
{
    const struct
    {
        FText Text;
        const char* Namespace;
        const char* Key;
        const char* Source;
    } Cases[] = {
        {VT_LOCTEXT("DeleteDone", "Deleted {0} polygon(s)."), "RivetDeletePolygonsTool", "DeleteDone",
         "Deleted {0} polygon(s)."},
        {VT_NSLOCTEXT("RivetRemesh", "Title", "Remesh"), "RivetRemesh", "Title", "Remesh"},
        {FText::FromString("Bone_01"), "", "", "Bone_01"},
        {FText::FromName(FName("RootBone")), "", "", "RootBone"},
    };
    for (const auto& Case : Cases)
    {
        EXPECT_STREQ(*Case.Text.GetNamespace(), Case.Namespace) << Case.Source;
        EXPECT_STREQ(*Case.Text.GetKey(), Case.Key) << Case.Source;
        EXPECT_STREQ(*Case.Text.GetSourceString(), Case.Source);
        EXPECT_STREQ(*Case.Text.ToString(), Case.Source);
    }
}

TEST(Text, EmptyEqualAndIdentical)
{
    EXPECT_TRUE(FText().IsEmpty());
    EXPECT_TRUE(FText::GetEmpty().IsEmpty());
    EXPECT_TRUE(FText().IsIdenticalTo(FText::GetEmpty()));

    const FText First = FText::FromString("Mesh");
    const FText Copy = First;
    const FText Other = VT_LOCTEXT("Mesh", "Mesh");
    EXPECT_TRUE(Copy.IsIdenticalTo(First));
    EXPECT_TRUE(Other.EqualTo(First));
    EXPECT_FALSE(Other.IsIdenticalTo(First));
    EXPECT_FALSE(First.EqualTo(FText::FromString("mesh")));
}

TEST(Text, Utf8SurvivesMacroAndFormat)
{
    const FText Dash = VT_LOCTEXT("Dash", "Bake pose — {0} bones");
    EXPECT_STREQ(*Dash.ToString(), "Bake pose \xE2\x80\x94 {0} bones");
    EXPECT_STREQ(*FText::Format(Dash, 12).ToString(), "Bake pose \xE2\x80\x94 12 bones");
    EXPECT_STREQ(*FText::Format(FText::FromString("{0}"), "\u2014").ToString(), "\xE2\x80\x94");
}

TEST(TextFormat, OrderedRepeatedAndMissingArguments)
{
    const FText Swapped = FText::Format(FText::FromString("{1} before {0}, {1} again"), "A", "B");
    EXPECT_STREQ(*Swapped.ToString(), "B before A, B again");
    const FText Missing = FText::Format(FText::FromString("{0} and {3}"), 7);
    EXPECT_STREQ(*Missing.ToString(), "7 and {3}");
    EXPECT_STREQ(*FText::Format(FText::FromString("{} {x} {0")).ToString(), "{} {x} {0");
}

TEST(TextFormat, BacktickEscapesBraces)
{
    EXPECT_STREQ(*FText::Format(FText::FromString("`{0`} is {0}"), 5).ToString(), "{0} is 5");
    EXPECT_STREQ(*FText::Format(FText::FromString("``{0}"), 5).ToString(), "`5");
    EXPECT_STREQ(*FText::Format(FText::FromString("a`b`"), 5).ToString(), "a`b`");
}

TEST(TextFormat, ArgumentKinds)
{
    const FText Pattern = FText::FromString("{0}|{1}|{2}|{3}|{4}|{5}|{6}");
    const FText Result = FText::Format(Pattern, int8(-5), uint64(18446744073709551615ull), 1234567, 2.5f,
                                       1234.5678, FText::FromString("t"), FString("s"));
    EXPECT_STREQ(*Result.ToString(), "-5|18,446,744,073,709,551,615|1,234,567|2.5|1,234.568|t|s");
}

TEST(TextFormat, ResultKeepsMessageIdentityAndArguments)
{
    const FText Pattern = VT_LOCTEXT("DeleteDone", "Deleted {0} polygon(s).");
    const FText Result = FText::Format(Pattern, 42, VT_LOCTEXT("Mesh", "the mesh"));
    EXPECT_STREQ(*Result.ToString(), "Deleted 42 polygon(s).");
    EXPECT_STREQ(*Result.GetNamespace(), "RivetDeletePolygonsTool");
    EXPECT_STREQ(*Result.GetKey(), "DeleteDone");
    EXPECT_STREQ(*Result.GetSourceString(), "Deleted {0} polygon(s).");

    const TArray<FFormatArgumentValue>& Arguments = Result.GetFormatArguments();
    ASSERT_EQ(Arguments.Num(), 2);
    EXPECT_EQ(Arguments[0].GetType(), EFormatArgumentType::Int);
    EXPECT_EQ(Arguments[0].GetIntValue(), 42);
    EXPECT_STREQ(*Arguments[1].GetTextValue().GetKey(), "Mesh");
    EXPECT_TRUE(Pattern.GetFormatArguments().IsEmpty());
}

static_assert(!std::is_constructible_v<FFormatArgumentValue, char>, "characters would print as numbers");
static_assert(!std::is_constructible_v<FFormatArgumentValue, bool>, "booleans would print as numbers");
static_assert(std::is_constructible_v<FFormatArgumentValue, int8>, "int8 is a number");

TEST(TextNumber, IntegersAreGroupedByThree)
{
    EXPECT_STREQ(*FText::AsNumber(0).ToString(), "0");
    EXPECT_STREQ(*FText::AsNumber(999).ToString(), "999");
    EXPECT_STREQ(*FText::AsNumber(1234).ToString(), "1,234");
    EXPECT_STREQ(*FText::AsNumber(-1234567).ToString(), "-1,234,567");
    EXPECT_STREQ(*FText::AsNumber(100000).ToString(), "100,000");
    EXPECT_STREQ(*FText::AsNumber(INT64_MIN).ToString(), "-9,223,372,036,854,775,808");
}

TEST(TextNumber, RealsRoundToThreeFractionDigits)
{
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
}

TEST(TextNumber, NonFiniteReals)
{
    EXPECT_STREQ(*FText::AsNumber(std::numeric_limits<double>::quiet_NaN()).ToString(), "NaN");
    EXPECT_STREQ(*FText::AsNumber(std::numeric_limits<double>::infinity()).ToString(), "Infinity");
    EXPECT_STREQ(*FText::AsNumber(-std::numeric_limits<double>::infinity()).ToString(), "-Infinity");
}

#undef VT_LOCTEXT_NAMESPACE
