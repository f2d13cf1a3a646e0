#pragma once

#include <functional>
#include <memory>

class UObject;

/**
 * A recorded change of data that an object holds outside its copyable state (a large buffer it
 * shares between its undo copies, say). Undo and redo both exchange the recorded data with the
 * live data.
 */
class FTransactionChange
{
public:
    virtual ~FTransactionChange() = default;
    /** Exchanges the recorded data with the live data. */
    virtual void Swap() = 0;
};

/** A recorded copy of data held through a shared pointer; undo and redo exchange it with the live data. */
template <typename T>
class TSharedDataChange final : public FTransactionChange
{
public:
    explicit TSharedDataChange(std::shared_ptr<T> InTarget) : Target(std::move(InTarget)), Recorded(*Target)
    {
    }

    void Swap() override { std::swap(*Target, Recorded); }

private:
    std::shared_ptr<T> Target;
    T Recorded;
};

/**
 * What the object system needs of an open undo transaction: a place to record an object's
 * state before it changes. The editor's transaction buffer provides it while a transaction
 * is open.
 */
class ITransaction
{
public:
    virtual ~ITransaction() = default;
    /** Records the object's whole state unless it is recorded already; true when recorded now or before. */
    virtual bool SaveObject(UObject* Object) = 0;
    /**
     * Records a change of the data identified by Key, which Owner holds, unless that data is recorded
     * already in this transaction; MakeChange captures the data's current state. True when recorded
     * now or before.
     */
    virtual bool SaveChange(UObject* Owner, const void* Key,
                            const std::function<std::unique_ptr<FTransactionChange>()>& MakeChange) = 0;
    /**
     * Records that the object was made inside the transaction: undo takes it away again (it becomes
     * garbage, so no lookup finds it) and redo brings it back under its name.
     */
    virtual void SaveCreation(UObject* Object) = 0;
};

/** The open transaction, or null when none is open. */
extern ITransaction* GUndo;
