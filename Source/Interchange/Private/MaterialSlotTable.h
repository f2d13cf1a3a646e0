#pragma once

#include "Interchange/Private/ImportedScene.h"
#include "Interchange/Private/UniqueNameSet.h"

#include <unordered_map>

/**
 * The material slots of an import, one per file material that a mesh uses, in the order of first
 * use.
 */
class FMaterialSlotTable
{
public:
    explicit FMaterialSlotTable(TArray<FImportedSlot>& InSlots) : Slots(InSlots) {}

    /** The slot of the file's material Material so far, or INDEX_NONE. */
    int32 Find(int64 Material) const;

    /**
     * Adds the slot of the file's material Material (negative: meshes without a material) and returns
     * its index. The slot is named after the material's FileName, "Material_<Material>" when that name
     * would be None, "DefaultMaterial" without a material, then made unique among the slots; its
     * material takes Surface's parameters and the name "M_<slot name>".
     */
    int32 Add(int64 Material, const FString& FileName, const FImportedMaterial& Surface);

    const FImportedSlot& operator[](int32 Slot) const { return Slots[Slot]; }

private:
    TArray<FImportedSlot>& Slots;
    std::unordered_map<int64, int32> SlotOfMaterial;
    FUniqueNameSet Names;
};
