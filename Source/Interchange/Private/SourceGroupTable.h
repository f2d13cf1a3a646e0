#pragma once

#include "Interchange/Private/SourceMesh.h"

#include <unordered_map>

/** Finds the polygon groups of a source mesh by ID in constant time, making each on first use; every group
 * of the mesh comes through the table. */
class FSourceGroupTable
{
public:
    explicit FSourceGroupTable(TArray<FSourceGroup>& InGroups) : Groups(InGroups) {}

    /** The group GroupID, added with SlotName (and no triangles) when it is new. */
    FSourceGroup& FindOrAdd(int32 GroupID, FName SlotName);

private:
    TArray<FSourceGroup>& Groups;
    std::unordered_map<int32, int32> IndexOfGroup;
};
