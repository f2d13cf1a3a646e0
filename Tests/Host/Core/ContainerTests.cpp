#include "Core/Containers/Map.h"
#include "Core/Containers/Set.h"
#include "Core/Containers/String.h"
#include "Core/Name/Name.h"

#include <gtest/gtest.h>

TEST(Name, ComparesWithoutCaseKeepsFirstSpellingAndEmptyIsNone)
{
    const FName First("RootBone");
    const FName Second("ROOTBONE");
    EXPECT_EQ(First, Second);
    EXPECT_EQ(Second.ToString(), "RootBone");
    EXPECT_FALSE(First == FName("Root"));
    EXPECT_TRUE(First == "rootbone");
    EXPECT_FALSE(First == "NeverMadeName");
    EXPECT_TRUE(FName::Find("NeverMadeName").IsNone()) << "comparing adds nothing";
    EXPECT_EQ(FName::Find("ROOTBONE"), First);
    EXPECT_TRUE(FName().IsNone());
    EXPECT_TRUE(FName("none").IsNone());
    EXPECT_EQ(FName(""), NAME_None);
    EXPECT_EQ(NAME_None.ToString(), "None");
    EXPECT_FALSE(FName("Nonesuch").IsNone());
}

TEST(Containers, ArrayRemovesByItsOwnElementSetKeepsInsertionOrderMapKeysIgnoreCase)
{
    TArray<int32> Values{3, 1, 4, 1, 5};
    EXPECT_EQ(Values.FindLast(1), 3);
    EXPECT_EQ(Values.Remove(Values[1]), 2) << "removing by an element of the array itself";
    EXPECT_EQ(Values, (TArray<int32>{3, 4, 5}));

    TSet<int32> Set;
    for (int32 Value : {5, 2, 5, 9, 2})
    {
        Set.Add(Value);
    }
    EXPECT_EQ(Set.Remove(5), 1);
    EXPECT_EQ(Set.Remove(5), 0);
    EXPECT_EQ(Set.Array(), (TArray<int32>{9, 2}));

    TMap<FName, int32> Map;
    Map.Add("Pelvis", 1);
    Map.Add("PELVIS", 3);
    EXPECT_EQ(Map.Num(), 1);
    EXPECT_EQ(Map.FindRef("pelvis"), 3);
    EXPECT_EQ(Map.FindRef("Head"), 0);
}

TEST(ArrayDeathTest, OutOfBoundsAccessStops)
{
    TArray<int32> Values{1};
    EXPECT_DEATH((void)Values[1], "out of bounds");
}

TEST(String, SearchSplitParseAndNumbers)
{
    const FString Text("Hello, World");
    EXPECT_TRUE(Text.StartsWith("hello", ESearchCase::IgnoreCase));
    EXPECT_FALSE(Text.StartsWith("hello"));
    EXPECT_EQ(Text.Find("o", ESearchCase::CaseSensitive, ESearchDir::FromEnd), 8);
    FString Left, Right;
    ASSERT_TRUE(Text.Split(", ", &Left, &Right));
    EXPECT_EQ(Left + "|" + Right, "Hello|World");
    TArray<FString> Parts;
    EXPECT_EQ(FString("a,,b,").ParseIntoArray(Parts, ","), 2);
    EXPECT_EQ(FString("a,,b,").ParseIntoArray(Parts, ",", false), 4);
    EXPECT_EQ(FString::SanitizeFloat(2.0) + " " + FString::SanitizeFloat(0.1), "2.0 0.1");
    EXPECT_TRUE(FString("-1.5e3").IsNumeric());
    EXPECT_FALSE(FString("1.5x").IsNumeric());
}
