#pragma once

#include "Core/Containers/Array.h"
#include "Core/Text/Text.h"
#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/Transaction.h"

#include <memory>
#include <unordered_set>
#include <vector>

/**
 * The editor's undo history. A transaction opened with Begin and closed with the matching
 * End is one undo step; Begin inside an open transaction joins it. While a transaction is
 * open, UObject::Modify records each object's whole state the first time it is called for
 * that object. Undo assigns every recorded state back (the latest step first, its objects in
 * reverse order) and redo re-applies what undo replaced. Objects made inside a transaction (outside
 * transient packages) are recorded too: undo makes them garbage, which takes them out of every lookup,
 * the asset registry included, and redo brings them back. A new step drops what was undone.
 */
class FTransactionBuffer final : public ITransaction, public FGCObject
{
public:
    static FTransactionBuffer& Get();

    /** Opens a transaction, or joins the open one. Returns the nesting depth after opening. */
    int32 Begin(const FText& Title);
    /** Closes one level; closing the outermost level makes the step. Returns the depth left. */
    int32 End();
    bool IsTransactionOpen() const { return Depth > 0; }

    bool CanUndo() const;
    bool CanRedo() const;
    /** Undoes the latest step; false when there is none or a transaction is open. */
    bool Undo();
    /** Redoes the latest undone step; false when there is none or a transaction is open. */
    bool Redo();

    /** The titles of the steps that undo can reach, oldest first. */
    TArray<FText> GetUndoTitles() const;
    /** The titles of the steps that redo can reach, next first. */
    TArray<FText> GetRedoTitles() const;
    /** The number of records (objects and changes) in the latest step that undo can reach (0 when none). */
    int32 GetRecordCount() const;

    /** Forgets the whole history. */
    void Reset();

    bool SaveObject(UObject* Object) override;
    bool SaveChange(UObject* Owner, const void* Key,
                    const std::function<std::unique_ptr<FTransactionChange>()>& MakeChange) override;
    /**
     * Records the making of an object (see ITransaction). While the step is in the history it keeps the
     * object from being collected, so that redo can bring it back after undo made it garbage.
     */
    void SaveCreation(UObject* Object) override;
    void AddReferencedObjects(FReferenceCollector& Collector) override;

private:
    /** An object's recorded state, or a recorded change of data that the object holds. */
    struct FRecord
    {
        UObject* Object;
        std::unique_ptr<UObject> State;
        std::unique_ptr<FTransactionChange> Change;
    };

    struct FTransactionStep
    {
        FText Title;
        std::vector<FRecord> Records;
        std::unordered_set<const UObject*> RecordedObjects;
        std::unordered_set<const void*> RecordedChanges;

        /**
         * Exchanges every object's state with the recorded one; undo and redo are both this.
         * A record whose object was destroyed as garbage since is skipped. Each object hears of
         * the undo once before any record is applied and once after all are.
         */
        void SwapStates(bool bReverseOrder);
    };

    std::vector<FTransactionStep> Steps;
    /** How many steps at the end of Steps are undone. */
    int32 UndoneCount = 0;
    int32 Depth = 0;
};

/**
 * Opens a transaction for its scope: the outermost scope makes one undo step titled with its
 * description, inner scopes join it.
 */
class FScopedTransaction
{
public:
    explicit FScopedTransaction(const FText& Description, bool bShouldActuallyTransact = true);
    ~FScopedTransaction();

    FScopedTransaction(const FScopedTransaction&) = delete;
    FScopedTransaction& operator=(const FScopedTransaction&) = delete;

private:
    bool bActive;
};
