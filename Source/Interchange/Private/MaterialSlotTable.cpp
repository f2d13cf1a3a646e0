#include "Interchange/Private/MaterialSlotTable.h"

int32 FMaterialSlotTable::Find(int64 Material) const
{
    const auto Found = SlotOfMaterial.find(Material);
    return Found == SlotOfMaterial.end() ? INDEX_NONE : Found->second;
}

int32 FMaterialSlotTable::Add(int64 Material, const FString& FileName, const FImportedMaterial& Surface)
{
    const bool bHasMaterial = Material >= 0;
    const FString Name =
        bHasMaterial
            ? Names.Take(FileName, FString::Printf("Material_%lld", static_cast<long long>(Material)))
            : Names.Take("DefaultMaterial", "DefaultMaterial");
    FImportedSlot Slot;
    Slot.SlotName = FName(Name);
    Slot.ImportedSlotName = Slot.SlotName;
    Slot.bHasMaterial = bHasMaterial;
    Slot.Material = Surface;
    Slot.Material.Name = FString("M_") + Name;
    const int32 Index = Slots.Add(Slot);
    SlotOfMaterial.emplace(Material, Index);
    return Index;
}
