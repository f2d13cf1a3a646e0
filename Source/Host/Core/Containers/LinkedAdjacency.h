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
        Keys.Init(EmptyList, NumKeys);
        Nodes.Init(UnlinkedNode, NumElements * SlotsPerElement);
    }

    void Empty() { Reset(0, 0); }

    /** Sizes the storage for this many keys and elements, keeping every list. */
    void Reserve(int32 NumKeys, int32 NumElements)
    {
        Keys.Reserve(NumKeys);
        Nodes.Reserve(NumElements * SlotsPerElement);
    }

    /** Grows the key range to cover Key; new keys have empty lists. */
    void ReserveKey(int32 Key)
    {
        if (Key == Keys.Num())
        {
            Keys.Add(EmptyList);
        }
        else if (Key > Keys.Num())
        {
            Keys.SetNum(Key + 1, EmptyList);
        }
    }

    /** Appends the element, in the given slot, to the key's list. */
    void Link(int32 Key, int32 Element, int32 Slot)
    {
        ReserveKey(Key);
        const int32 Node = NodeOf(Element, Slot);
        if (Node >= Nodes.Num())
        {
            GrowNodes((Node / SlotsPerElement + 1) * SlotsPerElement);
        }
        FKeyList& List = Keys[Key];
        Nodes[Node] = FNode{INDEX_NONE, List.Tail};
        (List.Tail == INDEX_NONE ? List.Head : Nodes[List.Tail].Next) = Node;
        List.Tail = Node;
        ++List.Count;
    }

    /** Removes the element's node of the given slot from the key's list. */
    void Unlink(int32 Key, int32 Element, int32 Slot)
    {
        FKeyList& List = Keys[Key];
        FNode& Unlinked = Nodes[NodeOf(Element, Slot)];
        (Unlinked.Prev == INDEX_NONE ? List.Head : Nodes[Unlinked.Prev].Next) = Unlinked.Next;
        (Unlinked.Next == INDEX_NONE ? List.Tail : Nodes[Unlinked.Next].Prev) = Unlinked.Prev;
        Unlinked = UnlinkedNode;
        --List.Count;
    }

    /** Empties a key's list; its elements' nodes must be relinked or unused afterwards. */
    void ClearKey(int32 Key)
    {
        if (Key >= Keys.Num())
        {
            return;
        }
        for (int32 Node = Keys[Key].Head; Node != INDEX_NONE;)
        {
            const int32 Following = Nodes[Node].Next;
            Nodes[Node] = UnlinkedNode;
            Node = Following;
        }
        Keys[Key] = EmptyList;
    }

    bool IsEmpty(int32 Key) const { return Key >= Keys.Num() || Keys[Key].Head == INDEX_NONE; }

    int32 Num(int32 Key) const { return Key < Keys.Num() ? Keys[Key].Count : 0; }

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
            // Unchecked: a list links only nodes of its own table.
            Node = Owner->Nodes.GetData()[Node].Next;
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
        const int32 First = Key < Keys.Num() ? Keys[Key].Head : INDEX_NONE;
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

    /** One key's list: its first and last nodes and its length. */
    struct FKeyList
    {
        int32 Head;
        int32 Tail;
        int32 Count;
    };

    /** The nodes before and after one in its key's list; a key's record and a node's are read together. */
    struct FNode
    {
        int32 Next;
        int32 Prev;
    };

    // Both records are trivial, so the arrays copy as plain memory.
    static constexpr FKeyList EmptyList{INDEX_NONE, INDEX_NONE, 0};
    static constexpr FNode UnlinkedNode{INDEX_NONE, INDEX_NONE};

    /**
     * Lengthens the node array with unlinked nodes. A mesh that is being built adds its elements one at a
     * time, and appending one entry is far cheaper than a resize.
     */
    [[gnu::noinline]] void GrowNodes(int32 Num)
    {
        while (Nodes.Num() < Num)
        {
            Nodes.Add(UnlinkedNode);
        }
    }

    int32 SlotsPerElement;
    TArray<FKeyList> Keys;
    TArray<FNode> Nodes;
};
