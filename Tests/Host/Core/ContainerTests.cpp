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

TEST(Array, FindContainsAndIndices)
{
    TArray<int32> Values{3, 1, 4, 1, 5};
    EXPECT_EQ(Values.Num(), 5);
    EXPECT_EQ(Values.Find(1), 1);
    EXPECT_EQ(Values.FindLast(1), 3);
    EXPECT_EQ(Values.Find(9), INDEX_NONE);
    EXPECT_TRUE(Values.Contains(5));
    EXPECT_TRUE(Values.IsValidIndex(4));
    EXPECT_FALSE(Values.IsValidIndex(5));
    EXPECT_FALSE(Values.IsValidIndex(-1));
    EXPECT_EQ(Values.AddUnique(4), 2);
    EXPECT_EQ(Values.Add(9), 5);
    EXPECT_EQ(Values.Remove(Values[1]), 2) << "removing by an element of the array itself";
    EXPECT_EQ(Values, (TArray<int32>{3, 4, 5, 9}));
    Values.Empty();
    EXPECT_TRUE(Values.IsEmpty());
}

TEST(ArrayDeathTest, OutOfBoundsAccessStops)
{
    TArray<int32> Values{1};
    EXPECT_DEATH((void)Values[1], "out of bounds");
}

TEST(Set, KeepsInsertionOrderAndUniqueness)
{
    TSet<int32> Set;
    for (int32 Value : {5, 2, 5, 9, 2})
    {
        Set.Add(Value);
    }
    EXPECT_EQ(Set.Array(), (TArray<int32>{5, 2, 9}));
    EXPECT_EQ(Set.Remove(5), 1);
    EXPECT_EQ(Set.Remove(5), 0);
    EXPECT_EQ(Set.Array(), (TArray<int32>{9, 2}));
    EXPECT_TRUE(Set.Contains(9));
    ASSERT_NE(Set.Find(2), nullptr);
    EXPECT_EQ(*Set.Find(2), 2);
    EXPECT_EQ(Set.Find(5), nullptr);
    EXPECT_FALSE(Set.Contains(5));
}

TEST(Map, AddFindRemoveWithNameKeys)
{
    TMap<FName, int32> Map;
    Map.Add("Pelvis", 1);
    Map.Add("Spine", 2);
    Map.Add("PELVIS", 3);
    EXPECT_EQ(Map.Num(), 2);
    EXPECT_EQ(Map.FindRef("pelvis"), 3);
    EXPECT_EQ(Map.Find("Head"), nullptr);
    EXPECT_EQ(Map.FindRef("Head"), 0);
    EXPECT_EQ(Map.Remove("Pelvis"), 1);
    EXPECT_EQ(Map.GetKeys(), (TArray<FName>{"Spine"}));
}

TEST(String, SearchSplitAndTrim)
{
    const FString Text("  Hello, World  ");
    const FString Trimmed = Text.TrimStartAndEnd();
    EXPECT_EQ(Trimmed, "Hello, World");
    EXPECT_TRUE(Trimmed.StartsWith("hello", ESearchCase::IgnoreCase));
    EXPECT_FALSE(Trimmed.StartsWith("hello"));
    EXPECT_EQ(Trimmed.Find("o", ESearchCase::CaseSensitive, ESearchDir::FromEnd), 8);
    FString Left, Right;
    ASSERT_TRUE(Trimmed.Split(", ", &Left, &Right));
    EXPECT_EQ(Left, "Hello");
    EXPECT_EQ(Right, "World");
    TArray<FString> Parts;
    EXPECT_EQ(FString("a,,b,").ParseIntoArray(Parts, ","), 2);
    EXPECT_EQ(FString("a,,b,").ParseIntoArray(Parts, ",", false), 4);
    EXPECT_EQ(FString::Printf("%d-%s", 7, "x"), "7-x");
    EXPECT_EQ(FString::SanitizeFloat(2.0), "2.0");
    EXPECT_EQ(FString::SanitizeFloat(0.1), "0.1");
    EXPECT_TRUE(FString("-1.5e3").IsNumeric());
    EXPECT_FALSE(FString("1.5x").IsNumeric());
    EXPECT_EQ(FString("a.b.c").Replace(".", "::"), "a::b::c");
}
