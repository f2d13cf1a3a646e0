#include "Engine/SkeletalMesh/LODMaterialMapCarry.h"

#include <algorithm>

namespace
{
bool HaveSameGroups(const TArray<FImportedSection>& A, const TArray<FImportedSection>& B)
{
    return std::equal(A.begin(), A.end(), B.begin(), B.end(),
                      [](const FImportedSection& X, const FImportedSection& Y)
                      { return X.MaterialIndex == Y.MaterialIndex; });
}
} // namespace

void CarryLODMaterialMapToSections(TArray<int32>& LODMaterialMap, const TArray<FImportedSection>& OldSections,
                                   const TArray<FImportedSection>& NewSections)
{
    if (LODMaterialMap.IsEmpty() || OldSections.IsEmpty() || HaveSameGroups(OldSections, NewSections))
    {
        return;
    }
    // The old entry of each group, by group ID (section material indices are 16-bit).
    int32 GroupRange = 0;
    for (const FImportedSection& Section : OldSections)
    {
        GroupRange = std::max(GroupRange, Section.MaterialIndex + 1);
    }
    TArray<int32> OldSectionOfGroup;
    OldSectionOfGroup.Init(INDEX_NONE, GroupRange);
    for (int32 Section = 0; Section < OldSections.Num(); ++Section)
    {
        OldSectionOfGroup[OldSections[Section].MaterialIndex] = Section;
    }

    TArray<int32> Carried;
    Carried.Init(INDEX_NONE, NewSections.Num());
    int32 CarriedLength = 0;
    for (int32 Section = 0; Section < NewSections.Num(); ++Section)
    {
        const int32 Group = NewSections[Section].MaterialIndex;
        const int32 OldSection = Group < GroupRange ? OldSectionOfGroup[Group] : INDEX_NONE;
        if (OldSection != INDEX_NONE && OldSection < LODMaterialMap.Num())
        {
            Carried[Section] = LODMaterialMap[OldSection];
            CarriedLength = Section + 1;
        }
    }
    Carried.SetNum(CarriedLength);
    LODMaterialMap = std::move(Carried);
}
