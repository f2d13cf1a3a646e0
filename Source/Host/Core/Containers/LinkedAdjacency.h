#pragma once

#include "Core/Containers/Array.h"

/**
 * For every key, the elements that refer to it, kept as intrusive doubly linked lists.
 *
 * An element refers to up to SlotsPerElement keys, one per slot: an edge to its two vertices, a
 * triangle to its three corners. Every (element, slot) pair is one list node, so linking, unlinking
 * and appending are constant time and never allocate per element; a key's list keeps the order in
 * which its elements were linked, and its length is kept beside it.
 */
class FLinkedAdjacency
{
public:
    explicit FLinkedAdjacency(int32 InSlotsPerElement = 1) : SlotsPerElement(InSlotsPerElement) {}

    /** Drops every list and sizes the table for the given key and element ranges. */
    void Reset(int32 NumKeys, int32 NumElements)
    {
        Head.Init(INDEX_NONE, NumKeys);
        Tail.Init(INDEX_NONE, NumKeys);
        Counts.Init(0, NumKeys);
        Next.Init(INDEX_NONE, NumElements * SlotsPerElement);
        Prev.Init(INDEX_NONE, NumElements * SlotsPerElement);
    }

    void Empty() { Reset(0, 0); }

    /** Sizes the storage for this many keys and elements, keeping every list. */
    void Reserve(int32 NumKeys, int32 NumElements)
    {
        Head.Reserve(NumKeys);
        Tail.Reserve(NumKeys);
        Counts.Reserve(NumKeys);
        Next.Reserve(NumElements * SlotsPerElement);
        Prev.Reserve(NumElements * SlotsPerElement);
    }

    /** Grows the key range to cover Key; new keys have empty lists. */
    void ReserveKey(int32 Key)
    {
        if (Key == Head.Num())
        {
            Head.Add(INDEX_NONE);
            Tail.Add(INDEX_NONE);
            Counts.Add(0);
        }
        else if (Key > Head.Num())
        {
            Grow(Head, Tail, Key + 1);
            Counts.SetNum(Key + 1, 0);
        }
    }

    /** Appends the element, in the given slot, to the key's list. */
    void Link(int32 Key, int32 Element, int32 Slot)
    {
        ReserveKey(Key);
        const int32 Node = NodeOf(Element, Slot);
        if (Node >= Next.Num())
        {
            Grow(Next, Prev, (Node / SlotsPerElement + 1) * SlotsPerElement);
        }
        Prev[Node] = Tail[Key];
        Next[Node] = INDEX_NONE;
        (Tail[Key] == INDEX_NONE ? Head[Key] : Next[Tail[Key]]) = Node;
        Tail[Key] = Node;
        ++Counts[Key];
    }

    /** Removes the element's node of the given slot from the key's list. */
    void Unlink(int32 Key, int32 Element, int32 Slot)
    {
        const int32 Node = NodeOf(Element, Slot);
        (Prev[Node] == INDEX_NONE ? Head[Key] : Next[Prev[Node]]) = Next[Node];
        (Next[Node] == INDEX_NONE ? Tail[Key] : Prev[Next[Node]]) = Prev[Node];
        Prev[Node] = Next[Node] = INDEX_NONE;
        --Counts[Key];
    }

    /** Empties a key's list; its elements' nodes must be relinked or unused afterwards. */
    void ClearKey(int32 Key)
    {
        if (Key >= Head.Num())
        {
            return;
        }
        for (int32 Node = Head[Key]; Node != INDEX_NONE;)
        {
            const int32 Following = Next[Node];
            Prev[Node] = Next[Node] = INDEX_NONE;
            Node = Following;
        }
        Head[Key] = Tail[Key] = INDEX_NONE;
        Counts[Key] = 0;
    }

    bool IsEmpty(int32 Key) const { return Key >= Head.Num() || Head[Key] == INDEX_NONE; }

    int32 Num(int32 Key) const { return Key < Counts.Num() ? Counts[Key] : 0; }

    bool Contains(int32 Key, int32 Element) const
    {
        for (const int32 Linked : (*this)[Key])
        {
            if (Linked == Element)
            {
                return true;
            }
        }
        return false;
    }

    /** Walks one key's list, yielding element indices. */
    class FIterator
    {
    public:
        FIterator(const FLinkedAdjacency& InOwner, int32 InNode) : Owner(&InOwner), Node(InNode) {}
        int32 operator*() const { return Node / Owner->SlotsPerElement; }
        int32 GetSlot() const { return Node % Owner->SlotsPerElement; }
        FIterator& operator++()
        {
            Node = Owner->Next[Node];
            return *this;
        }
        bool operator==(const FIterator& Other) const { return Node == Other.Node; }

    private:
        const FLinkedAdjacency* Owner;
        int32 Node;
    };

    struct FRange
    {
        FIterator First;
        FIterator begin() const { return First; }
        FIterator end() const { return FIterator(*Owner, INDEX_NONE); }
        const FLinkedAdjacency* Owner;
    };

    FRange operator[](int32 Key) const
    {
        const int32 First = Key < Head.Num() ? Head[Key] : INDEX_NONE;
        return FRange{FIterator(*this, First), this};
    }

    /** Appends a key's elements to Out. */
    template <typename IDType>
    void Gather(int32 Key, TArray<IDType>& Out) const
    {
        for (const int32 Element : (*this)[Key])
        {
            Out.Add(IDType(Element));
        }
    }

    int32 GetSlotsPerElement() const { return SlotsPerElement; }

private:
    int32 NodeOf(int32 Element, int32 Slot) const { return Element * SlotsPerElement + Slot; }

    /**
     * Lengthens two parallel arrays with INDEX_NONE. A mesh that is being built adds its keys and elements
     * one at a time, and appending one entry is far cheaper than a resize.
     */
    [[gnu::noinline]] static void Grow(TArray<int32>& First, TArray<int32>& Second, int32 Num)
    {
        while (First.Num() < Num)
        {
            First.Add(INDEX_NONE);
            Second.Add(INDEX_NONE);
        }
    }

    int32 SlotsPerElement;
    TArray<int32> Head;
    TArray<int32> Tail;
    TArray<int32> Next;
    TArray<int32> Prev;
    /** Per key the length of its list. */
    TArray<int32> Counts;
};
