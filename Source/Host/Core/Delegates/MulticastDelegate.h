#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"

#include <functional>

/** Names one function added to a multicast delegate, so that it can be removed again. */
class FDelegateHandle
{
public:
    FDelegateHandle() = default;
    bool IsValid() const { return Id != 0; }
    void Reset() { Id = 0; }
    bool operator==(const FDelegateHandle& Other) const = default;

private:
    template <typename>
    friend class TMulticastDelegate;
    explicit FDelegateHandle(uint64 InId) : Id(InId) {}

    uint64 Id = 0;
};

template <typename Signature>
class TMulticastDelegate;

/**
 * A list of functions called together. Functions added or removed while the delegate broadcasts
 * take effect from the next broadcast.
 */
template <typename... ArgTypes>
class TMulticastDelegate<void(ArgTypes...)>
{
public:
    using FFunction = std::function<void(ArgTypes...)>;

    FDelegateHandle Add(FFunction Function)
    {
        const FDelegateHandle Handle(++LastId);
        Entries.Add(FEntry{Handle, std::move(Function)});
        return Handle;
    }

    /** Removes the function; true when it was there. */
    bool Remove(FDelegateHandle Handle)
    {
        return Entries.RemoveAll([Handle](const FEntry& Entry) { return Entry.Handle == Handle; }) > 0;
    }

    void Clear() { Entries.Empty(); }
    bool IsBound() const { return !Entries.IsEmpty(); }

    void Broadcast(ArgTypes... Args) const
    {
        const TArray<FEntry> Snapshot = Entries;
        for (const FEntry& Entry : Snapshot)
        {
            Entry.Function(Args...);
        }
    }

private:
    struct FEntry
    {
        FDelegateHandle Handle;
        FFunction Function;
    };

    TArray<FEntry> Entries;
    uint64 LastId = 0;
};
