#include "Core/Containers/JaggedArray.h"

#include <gtest/gtest.h>

namespace
{
TArray<int32> Row(const TJaggedArray<int32>& Array, int32 Index)
{
    return TArray<int32>(Array[Index].data(), static_cast<int32>(Array[Index].size()));
}
} // namespace

TEST(JaggedArray, RepacksOnceMostOfThePoolIsAbandoned)
{
    TJaggedArray<int32> Array;
    Array.SetNumRows(2);
    Array.SetRow(1, TArray<int32>{42});
    TArray<int32> Values;
    for (int32 Size = 1; Size <= 200; ++Size)
    {
        Values.Add(Size);
        Array.SetRow(0, Values);
    }
    EXPECT_LT(Array.GetPoolSize(), 3 * 201) << "abandoned spans are reclaimed";
    EXPECT_EQ(Row(Array, 0), Values);
    EXPECT_EQ(Row(Array, 1), TArray<int32>{42});
}

TEST(JaggedArray, RowsGrowShrinkAndCanBeSetFromARowThatMovesAsThePoolGrows)
{
    TJaggedArray<int32> Array;
    Array.SetNumRows(3);
    Array.SetRow(0, TArray<int32>{1, 2, 3});
    Array.SetRow(1, Array[0]);
    EXPECT_EQ(Row(Array, 1), (TArray<int32>{1, 2, 3}));
    Array.SetRow(0, Array[0].first(2));
    EXPECT_EQ(Row(Array, 0), (TArray<int32>{1, 2}));
    Array.SetRow(0, TArray<int32>{8, 9, 10, 11});
    EXPECT_EQ(Row(Array, 0), (TArray<int32>{8, 9, 10, 11}));
    EXPECT_EQ(Row(Array, 1), (TArray<int32>{1, 2, 3})) << "neighbours keep their values";
    EXPECT_EQ(Row(Array, 2), TArray<int32>{});
}
