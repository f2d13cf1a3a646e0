#include "Core/Containers/LinkedAdjacency.h"

#include <gtest/gtest.h>

namespace
{
TArray<int32> List(const FLinkedAdjacency& Adjacency, int32 Key)
{
    TArray<int32> Elements;
    Adjacency.Gather(Key, Elements);
    return Elements;
}
} // namespace

TEST(LinkedAdjacency, ListsKeepLinkOrderThroughUnlinksFromAnyPosition)
{
    FLinkedAdjacency Adjacency(2);
    Adjacency.Link(0, 10, 0);
    Adjacency.Link(0, 11, 1);
    Adjacency.Link(0, 12, 0);
    Adjacency.Link(5, 11, 0);
    EXPECT_EQ(List(Adjacency, 0), (TArray<int32>{10, 11, 12}));
    EXPECT_EQ(List(Adjacency, 5), TArray<int32>{11});

    Adjacency.Unlink(0, 11, 1);
    EXPECT_EQ(List(Adjacency, 0), (TArray<int32>{10, 12}));
    EXPECT_EQ(List(Adjacency, 5), TArray<int32>{11}) << "the element's other slot is untouched";

    Adjacency.Unlink(0, 10, 0);
    Adjacency.Link(0, 13, 1);
    EXPECT_EQ(List(Adjacency, 0), (TArray<int32>{12, 13}));
    EXPECT_EQ(Adjacency.Num(0), 2) << "the kept length follows links and unlinks";
    Adjacency.Unlink(0, 13, 1);
    Adjacency.Unlink(0, 12, 0);
    EXPECT_TRUE(Adjacency.IsEmpty(0));
    Adjacency.Link(0, 14, 0);
    EXPECT_EQ(List(Adjacency, 0), TArray<int32>{14}) << "an emptied list starts afresh";
}

TEST(LinkedAdjacency, IteratorsReportTheSlotOfEachElement)
{
    FLinkedAdjacency Adjacency(3);
    Adjacency.Link(7, 4, 2);
    Adjacency.Link(7, 1, 0);
    auto It = Adjacency[7].begin();
    EXPECT_EQ(It.GetSlot(), 2);
    EXPECT_EQ((++It).GetSlot(), 0);
    EXPECT_TRUE(Adjacency.IsEmpty(100)) << "keys beyond the table have empty lists";
    Adjacency.ClearKey(7);
    EXPECT_EQ(Adjacency.Num(7), 0);
}
