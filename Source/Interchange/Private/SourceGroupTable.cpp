#include "Interchange/Private/SourceGroupTable.h"

FSourceGroup& FSourceGroupTable::FindOrAdd(int32 GroupID, FName SlotName)
{
    const auto [Found, bNew] = IndexOfGroup.try_emplace(GroupID, Groups.Num());
    if (bNew)
    {
        Groups.Add(FSourceGroup{GroupID, SlotName, {}});
    }
    return Groups[Found->second];
}
