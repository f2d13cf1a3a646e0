#include "Host/VantorEd/AssetTestObjects.h"

#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/WeakObjectPtr.h"
#include "CoreUObject/Reflection/PropertyAccess.h"
#include "VantorEd/Assets/AssetRegistry.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

namespace
{
class TransactionTest : public testing::Test
{
protected:
    void SetUp() override { FTransactionBuffer::Get().Reset(); }
    void TearDown() override { FTransactionBuffer::Get().Reset(); }

    static UTestAsset* MakeObject(const char* Name)
    {
        return NewObject<UTestAsset>(CreatePackage(FString("/Game/Undo/") + Name), Name, RF_Standalone);
    }
    static TArray<FString> UndoTitles()
    {
        TArray<FString> Titles;
        for (const FText& Title : FTransactionBuffer::Get().GetUndoTitles())
        {
            Titles.Add(Title.ToString());
        }
        return Titles;
    }
};
} // namespace

TEST_F(TransactionTest, UndoRestoresEveryRecordedObjectAndRedoReappliesIt)
{
    UTestAsset* A = MakeObject("A");
    UTestAsset* B = MakeObject("B");
    A->Values = {1, 2, 3};
    B->Label = "before";
    {
        FScopedTransaction Transaction(FText::FromString("Edit Both"));
        A->Modify();
        A->Values.Add(4);
        B->Modify();
        B->Label = "after";
        A->Modify();
        A->Values[0] = 10;
    }
    EXPECT_EQ(FTransactionBuffer::Get().GetRecordCount(), 2) << "each object once per transaction";

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(A->Values, (TArray<int32>{1, 2, 3}));
    EXPECT_EQ(B->Label, "before");
    EXPECT_EQ(A->UndoNotifications, 1);
    EXPECT_EQ(B->UndoNotifications, 1);
    EXPECT_EQ(A->GetName(), "A") << "identity is never restored";

    ASSERT_TRUE(FTransactionBuffer::Get().Redo());
    EXPECT_EQ(A->Values, (TArray<int32>{10, 2, 3, 4}));
    EXPECT_EQ(B->Label, "after");
    EXPECT_FALSE(FTransactionBuffer::Get().Redo());
}

TEST_F(TransactionTest, HistoryListsTitlesNestedScopesMakeOneStepAndANewStepDropsRedo)
{
    UTestAsset* A = MakeObject("History");
    for (const char* Title : {"One", "Two", "Three"})
    {
        FScopedTransaction Transaction(FText::FromString(Title));
        A->Modify();
        A->Label = Title;
    }
    EXPECT_EQ(UndoTitles(), (TArray<FString>{"One", "Two", "Three"}));
    FTransactionBuffer::Get().Undo();
    FTransactionBuffer::Get().Undo();
    EXPECT_EQ(A->Label, "One");
    ASSERT_EQ(FTransactionBuffer::Get().GetRedoTitles().Num(), 2);
    EXPECT_EQ(FTransactionBuffer::Get().GetRedoTitles()[0].ToString(), "Two");
    {
        FScopedTransaction Transaction(FText::FromString("Four"));
        A->Modify();
        A->Label = "Four";
    }
    EXPECT_FALSE(FTransactionBuffer::Get().CanRedo());
    EXPECT_EQ(UndoTitles(), (TArray<FString>{"One", "Four"}));

    {
        FScopedTransaction Outer(FText::FromString("Outer"));
        A->Modify();
        A->Values.Add(1);
        FScopedTransaction Inner(FText::FromString("Inner"));
        A->Modify();
        A->Values.Add(2);
    }
    EXPECT_EQ(UndoTitles(), (TArray<FString>{"One", "Four", "Outer"})) << "nested scopes make one step";
    FTransactionBuffer::Get().Undo();
    EXPECT_TRUE(A->Values.IsEmpty());
}

TEST_F(TransactionTest, AnEmptyTransactionIsAStepButModifyOutsideOneRecordsNothing)
{
    UTestAsset* A = MakeObject("Outside");
    EXPECT_FALSE(A->Modify());
    {
        FScopedTransaction Ignored(FText::FromString("Off"), false);
        EXPECT_FALSE(A->Modify());
    }
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
    {
        FScopedTransaction Transaction(FText::FromString("Nothing"));
    }
    EXPECT_EQ(UndoTitles(), (TArray<FString>{"Nothing"}));
    {
        FScopedTransaction Open(FText::FromString("Open"));
        EXPECT_FALSE(FTransactionBuffer::Get().Undo()) << "not while a transaction is open";
    }
    EXPECT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
}

TEST_F(TransactionTest, HistoryKeepsRecordedObjectsAndTheirReferencesAlive)
{
    UTestAsset* A = NewObject<UTestAsset>(CreatePackage("/Temp/UndoGc"));
    UTestAsset* Referenced = NewObject<UTestAsset>(CreatePackage("/Temp/UndoGcRef"));
    A->Piece = Referenced;
    TWeakObjectPtr<UTestAsset> WeakA = A;
    TWeakObjectPtr<UTestAsset> WeakReferenced = Referenced;
    {
        FScopedTransaction Transaction(FText::FromString("Drop"));
        A->Modify();
        A->Piece = nullptr;
    }
    CollectGarbage();
    ASSERT_TRUE(WeakA.IsValid());
    ASSERT_TRUE(WeakReferenced.IsValid()) << "the recorded state still refers to it";
    FTransactionBuffer::Get().Undo();
    EXPECT_EQ(A->Piece, Referenced);

    FTransactionBuffer::Get().Reset();
    CollectGarbage();
    EXPECT_FALSE(WeakA.IsValid());
}

TEST_F(TransactionTest, PropertiesSetThroughReflectionUndoInOneStep)
{
    UTestAsset* A = MakeObject("Reflected");
    UTestAsset* B = MakeObject("ReflectedTarget");
    const FProperty& Piece = *A->GetClass()->FindPropertyByName("Piece");
    FString Error;
    {
        FScopedTransaction Transaction(FText::FromString("Set Reference"));
        ASSERT_TRUE(VT::Reflection::SetPropertyValueFromText(A, Piece, B->GetPathName(), Error)) << Error;
    }
    EXPECT_EQ(A->Piece, B);
    EXPECT_TRUE(A->GetPackage()->IsDirty());
    FTransactionBuffer::Get().Undo();
    EXPECT_EQ(A->Piece, nullptr);
}

TEST_F(TransactionTest, GarbageIsCollectedAndClearedFromHistoryAndReferences)
{
    UTestAsset* Holder = MakeObject("GarbageHolder");
    UTestAsset* Doomed = NewObject<UTestAsset>(CreatePackage("/Temp/Doomed"), "Doomed");
    Holder->Piece = Doomed;
    {
        FScopedTransaction Transaction(FText::FromString("Touch"));
        Doomed->Modify();
        Doomed->Values.Add(1);
    }
    TWeakObjectPtr<UTestAsset> Weak = Doomed;
    Doomed->MarkAsGarbage();
    EXPECT_EQ(FindObject<UTestAsset>("/Temp/Doomed.Doomed"), nullptr);
    UTestAsset* Successor = NewObject<UTestAsset>(CreatePackage("/Temp/Doomed"), "Doomed", RF_Standalone);
    EXPECT_EQ(FindObject<UTestAsset>("/Temp/Doomed.Doomed"), Successor) << "the name is free again";

    CollectGarbage();
    EXPECT_TRUE(Weak.IsStale());
    EXPECT_EQ(Holder->Piece, nullptr) << "the collector clears references to garbage";
    EXPECT_TRUE(FTransactionBuffer::Get().Undo()) << "undo skips the destroyed object";
    EXPECT_EQ(FindObject<UTestAsset>("/Temp/Doomed.Doomed"), Successor);
}

TEST_F(TransactionTest, UndoTakesAwayWhatTheTransactionMadeAndRedoBringsItBack)
{
    UTestAsset* Made = nullptr;
    UTestAsset* Inner = nullptr;
    {
        FScopedTransaction Transaction(FText::FromString("Make"));
        Made = NewObject<UTestAsset>(CreatePackage("/Game/Undo/Made"), "Made", RF_Public | RF_Standalone);
        Inner = NewObject<UTestAsset>(Made, "Inner");
        Made->Piece = Inner;
        NewObject<UTestAsset>(GetTransientPackage(), "Scratch");
    }
    EXPECT_EQ(FTransactionBuffer::Get().GetRecordCount(), 3) << "package, asset and inner; not the transient";
    const int32 Slot = Made->GetUniqueID();

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(FindPackage("/Game/Undo/Made"), nullptr);
    EXPECT_EQ(FindObject<UTestAsset>("/Game/Undo/Made.Made"), nullptr);
    EXPECT_FALSE(FAssetRegistry::IsListedAsset(Made));
    CollectGarbage();
    EXPECT_EQ(FUObjectArray::Get().GetObjectAt(Slot), Made) << "the history keeps it for redo";

    ASSERT_TRUE(FTransactionBuffer::Get().Redo());
    EXPECT_EQ(FindObject<UTestAsset>("/Game/Undo/Made.Made"), Made);
    EXPECT_EQ(FindObject<UTestAsset>("/Game/Undo/Made.Made.Inner"), Inner);
    EXPECT_EQ(Made->Piece, Inner);
    EXPECT_TRUE(FAssetRegistry::IsListedAsset(Made));

    // Undone and then replaced by a new step, it is gone for good.
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    FTransactionBuffer::Get().Begin(FText::FromString("Next"));
    FTransactionBuffer::Get().End();
    CollectGarbage();
    EXPECT_NE(FUObjectArray::Get().GetObjectAt(Slot), Made);
}

TEST_F(TransactionTest, RedoLeavesAnObjectWhoseNameWasTakenInTheMeantime)
{
    UPackage* Package = CreatePackage("/Game/Undo/Taken");
    UTestAsset* First = nullptr;
    {
        FScopedTransaction Transaction(FText::FromString("Make"));
        First = NewObject<UTestAsset>(Package, "Asset", RF_Standalone);
    }
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    UTestAsset* Second = NewObject<UTestAsset>(Package, "Asset", RF_Standalone);

    ASSERT_TRUE(FTransactionBuffer::Get().Redo());
    EXPECT_EQ(FindObject<UTestAsset>("/Game/Undo/Taken.Asset"), Second);
    EXPECT_FALSE(First->IsValid());
}
