#pragma once

#include "Core/Containers/Array.h"

/**
 * Walks up a node tree given as each node's parent (INDEX_NONE for roots): Node itself, then its
 * parent and so on, to the first node for which Accept holds. INDEX_NONE when none does (or Node is
 * INDEX_NONE).
 */
template <typename PredicateType>
int32 FindSelfOrAncestor(const TArray<int32>& Parents, int32 Node, PredicateType&& Accept)
{
    for (; Node != INDEX_NONE; Node = Parents[Node])
    {
        if (Accept(Node))
        {
            return Node;
        }
    }
    return INDEX_NONE;
}

/** The nearest ancestor of Node (not Node itself) for which Accept holds, or INDEX_NONE. */
template <typename PredicateType>
int32 FindAncestor(const TArray<int32>& Parents, int32 Node, PredicateType&& Accept)
{
    return FindSelfOrAncestor(Parents, Parents[Node], Accept);
}
