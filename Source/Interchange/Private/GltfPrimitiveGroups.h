#pragma once

#include "Interchange/Private/ImportedScene.h"
#include "Interchange/Private/MaterialSlotTable.h"
#include "Interchange/Private/SourceGroupTable.h"

#include <tiny_gltf.h>

/**
 * Decides the polygon group of each glTF primitive. In this exporter's own files (bOwnExtras) the
 * primitive's extras give its group and slot name; otherwise each primitive becomes a group, numbered in
 * the order the primitives come, and each material a slot (added to OutSlots) named after it, which
 * OutSlotOfGroup gives for each group. Throws FInterchangeFailure on malformed extras, a material that
 * does not exist and group IDs out of range.
 */
class FGltfPrimitiveGroups
{
public:
    FGltfPrimitiveGroups(const tinygltf::Model& InModel, bool bInOwnExtras, TArray<FSourceGroup>& OutGroups,
                         TArray<FImportedSlot>& OutSlots, TArray<int32>& OutSlotOfGroup)
        : Model(InModel), bOwnExtras(bInOwnExtras), Groups(OutGroups), Slots(OutSlots),
          SlotOfGroup(OutSlotOfGroup)
    {
    }

    FSourceGroup& GroupOf(const tinygltf::Primitive& Primitive);
    /** Adds the groups without triangles that this exporter lists in the mesh's extras (own files only). */
    void AddEmptyGroups(const tinygltf::Mesh& Mesh);

private:
    FSourceGroup& FindOrAddGroup(int32 GroupID, FName SlotName);
    /** The slot (and group) of a material, made on first use. */
    int32 MaterialSlot(int32 Material);

    const tinygltf::Model& Model;
    bool bOwnExtras;
    FSourceGroupTable Groups;
    FMaterialSlotTable Slots;
    TArray<int32>& SlotOfGroup;
};
