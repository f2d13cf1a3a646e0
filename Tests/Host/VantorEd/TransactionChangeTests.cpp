#include "Host/VantorEd/AssetTestObjects.h"

#include "CoreUObject/Object/GarbageCollection.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
class TransactionChangeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        FTransactionBuffer::Get().Reset();
        Owner = NewObject<UTestAsset>(CreatePackage("/Game/Undo/ChangeOwner"), "Owner", RF_Standalone);
    }
    void TearDown() override
    {
        FTransactionBuffer::Get().Reset();
        Owner->ClearFlags(RF_Standalone);
        Owner->MarkAsGarbage();
        CollectGarbage();
    }

    void RecordShared(int32& Made)
    {
        GUndo->SaveChange(Owner, Shared.get(),
                          [&]
                          {
                              ++Made;
                              return std::make_unique<TSharedDataChange<TArray<int32>>>(Shared);
                          });
    }

    UTestAsset* Owner = nullptr;
    std::shared_ptr<TArray<int32>> Shared = std::make_shared<TArray<int32>>(TArray<int32>{1, 2, 3});
};
} // namespace

TEST_F(TransactionChangeTest, AChangeIsRecordedOncePerTransactionAndUndoesWithTheObject)
{
    int32 Made = 0;
    {
        FScopedTransaction Transaction(FText::FromString("Edit"));
        Owner->Modify();
        RecordShared(Made);
        RecordShared(Made);
        Shared->Add(4);
        Owner->Label = "after";
    }
    EXPECT_EQ(Made, 1);
    EXPECT_EQ(FTransactionBuffer::Get().GetRecordCount(), 2);

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(*Shared, (TArray<int32>{1, 2, 3}));
    EXPECT_EQ(Owner->Label, "");
    EXPECT_EQ(Owner->UndoNotifications, 1) << "one notification per object, however many records it has";

    ASSERT_TRUE(FTransactionBuffer::Get().Redo());
    EXPECT_EQ(*Shared, (TArray<int32>{1, 2, 3, 4}));
    EXPECT_EQ(Owner->Label, "after");
}

TEST_F(TransactionChangeTest, AChangeWhoseOwnerWasDestroyedIsSkipped)
{
    int32 Made = 0;
    {
        FScopedTransaction Transaction(FText::FromString("Edit"));
        RecordShared(Made);
        Shared->Add(4);
    }
    Owner->ClearFlags(RF_Standalone);
    Owner->MarkAsGarbage();
    CollectGarbage();
    Owner = NewObject<UTestAsset>(CreatePackage("/Game/Undo/ChangeOwner2"), "Owner", RF_Standalone);

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(*Shared, (TArray<int32>{1, 2, 3, 4}));
}
