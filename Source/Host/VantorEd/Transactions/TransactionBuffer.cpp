#include "VantorEd/Transactions/TransactionBuffer.h"

#include "Core/Logging/LogMacros.h"
#include "CoreUObject/Object/ObjectArray.h"
#include "CoreUObject/Object/ObjectStateAccess.h"
#include "VantorEd/Logging/LogVantorEd.h"

#include <algorithm>

namespace
{
/**
 * The making of an object: undo makes it garbage, redo revives it. The object is held from outside the
 * object system for as long as the record lives, so the collector keeps it while it is garbage.
 */
class FObjectCreationChange final : public FTransactionChange
{
public:
    explicit FObjectCreationChange(UObject* InObject) : Object(InObject)
    {
        FUObjectArray::Get().AddExternalReference(Object);
    }
    ~FObjectCreationChange() override { FUObjectArray::Get().RemoveExternalReference(Object); }

    void Swap() override
    {
        if (bExists)
        {
            Object->MarkAsGarbage();
            bExists = false;
        }
        else if (FUObjectArray::Get().Revive(Object))
        {
            bExists = true;
        }
        else
        {
            VT_LOG(LogVantorEd, Warning, "Cannot bring back %s: another object has taken its name",
                   *Object->GetPathName());
        }
    }

private:
    UObject* Object;
    bool bExists = true;
};
} // namespace

FTransactionBuffer& FTransactionBuffer::Get()
{
    static FTransactionBuffer Buffer;
    return Buffer;
}

int32 FTransactionBuffer::Begin(const FText& Title)
{
    if (Depth++ == 0)
    {
        Steps.resize(Steps.size() - static_cast<size_t>(UndoneCount));
        UndoneCount = 0;
        Steps.push_back(FTransactionStep{Title, {}, {}});
        GUndo = this;
    }
    return Depth;
}

int32 FTransactionBuffer::End()
{
    VT_CHECKF(Depth > 0, "a transaction was ended that was never begun");
    if (--Depth == 0)
    {
        GUndo = nullptr;
    }
    return Depth;
}

bool FTransactionBuffer::CanUndo() const
{
    return Depth == 0 && static_cast<int32>(Steps.size()) > UndoneCount;
}

bool FTransactionBuffer::CanRedo() const
{
    return Depth == 0 && UndoneCount > 0;
}

bool FTransactionBuffer::Undo()
{
    if (!CanUndo())
    {
        return false;
    }
    ++UndoneCount;
    Steps[Steps.size() - static_cast<size_t>(UndoneCount)].SwapStates(true);
    return true;
}

bool FTransactionBuffer::Redo()
{
    if (!CanRedo())
    {
        return false;
    }
    Steps[Steps.size() - static_cast<size_t>(UndoneCount)].SwapStates(false);
    --UndoneCount;
    return true;
}

TArray<FText> FTransactionBuffer::GetUndoTitles() const
{
    TArray<FText> Titles;
    for (size_t Index = 0; Index < Steps.size() - static_cast<size_t>(UndoneCount); ++Index)
    {
        Titles.Add(Steps[Index].Title);
    }
    return Titles;
}

TArray<FText> FTransactionBuffer::GetRedoTitles() const
{
    TArray<FText> Titles;
    for (size_t Index = Steps.size() - static_cast<size_t>(UndoneCount); Index < Steps.size(); ++Index)
    {
        Titles.Add(Steps[Index].Title);
    }
    return Titles;
}

int32 FTransactionBuffer::GetRecordCount() const
{
    const size_t Reachable = Steps.size() - static_cast<size_t>(UndoneCount);
    return Reachable == 0 ? 0 : static_cast<int32>(Steps[Reachable - 1].Records.size());
}

void FTransactionBuffer::Reset()
{
    VT_CHECKF(Depth == 0, "the undo history cannot be reset inside a transaction");
    Steps.clear();
    UndoneCount = 0;
}

bool FTransactionBuffer::SaveObject(UObject* Object)
{
    VT_CHECK(Depth > 0 && Object != nullptr);
    FTransactionStep& Step = Steps.back();
    if (Step.RecordedObjects.contains(Object))
    {
        return true;
    }
    UObject* State = FObjectStateAccess::Clone(Object);
    if (!State)
    {
        return false;
    }
    Step.RecordedObjects.insert(Object);
    Step.Records.push_back(FRecord{Object, std::unique_ptr<UObject>(State), nullptr});
    return true;
}

bool FTransactionBuffer::SaveChange(UObject* Owner, const void* Key,
                                    const std::function<std::unique_ptr<FTransactionChange>()>& MakeChange)
{
    VT_CHECK(Depth > 0 && Owner != nullptr && Key != nullptr);
    FTransactionStep& Step = Steps.back();
    if (Step.RecordedChanges.contains(Key))
    {
        return true;
    }
    std::unique_ptr<FTransactionChange> Change = MakeChange();
    if (!Change)
    {
        return false;
    }
    Step.RecordedChanges.insert(Key);
    Step.Records.push_back(FRecord{Owner, nullptr, std::move(Change)});
    return true;
}

void FTransactionBuffer::SaveCreation(UObject* Object)
{
    VT_CHECK(Depth > 0 && Object != nullptr);
    Steps.back().Records.push_back(FRecord{Object, nullptr, std::make_unique<FObjectCreationChange>(Object)});
}

void FTransactionBuffer::AddReferencedObjects(FReferenceCollector& Collector)
{
    for (FTransactionStep& Step : Steps)
    {
        for (FRecord& Record : Step.Records)
        {
            Collector.AddReferencedObject(Record.Object);
            if (Record.State)
            {
                Collector.AddReferencesOf(Record.State.get());
            }
        }
    }
}

void FTransactionBuffer::FTransactionStep::SwapStates(bool bReverseOrder)
{
    const auto Swap = [](FRecord& Record)
    {
        if (!Record.Object)
        {
            return;
        }
        if (Record.Change)
        {
            Record.Change->Swap();
        }
        else
        {
            FObjectStateAccess::Swap(Record.Object, *Record.State);
        }
    };
    std::vector<UObject*> Objects;
    std::unordered_set<const UObject*> Seen;
    for (const FRecord& Record : Records)
    {
        if (Record.Object && Seen.insert(Record.Object).second)
        {
            Objects.push_back(Record.Object);
        }
    }
    for (UObject* Object : Objects)
    {
        Object->PreEditUndo();
    }
    if (bReverseOrder)
    {
        std::for_each(Records.rbegin(), Records.rend(), Swap);
    }
    else
    {
        std::for_each(Records.begin(), Records.end(), Swap);
    }
    for (UObject* Object : Objects)
    {
        Object->PostEditUndo();
    }
}

FScopedTransaction::FScopedTransaction(const FText& Description, bool bShouldActuallyTransact)
    : bActive(bShouldActuallyTransact)
{
    if (bActive)
    {
        FTransactionBuffer::Get().Begin(Description);
    }
}

FScopedTransaction::~FScopedTransaction()
{
    if (bActive)
    {
        FTransactionBuffer::Get().End();
    }
}
