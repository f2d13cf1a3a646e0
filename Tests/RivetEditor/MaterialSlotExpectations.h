#pragma once

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetSlotUsage.h"
#include "RivetMaterialSlots.h"
#include "Support/ElementIDs.h"
#include "Support/MeshBuilders.h"

#include <gtest/gtest.h>

/** The LOD 0 triangles of a polygon group, as the slot operations take them. */
inline TArray<int32> TrianglesOfGroup(const USkeletalMesh& Mesh, int32 Group)
{
    return Values(TrianglesInGroup(*Mesh.GetMeshDescription(0), Group));
}

/** The material each LOD 0 triangle draws with, by triangle ID (null where its slot does not exist). */
inline TArray<const UMaterial*> MaterialPerTriangle(const USkeletalMesh& Mesh)
{
    const FMeshDescription& Description = *Mesh.GetMeshDescription(0);
    const TArray<int32> GroupToSlot = BuildGroupToSlotMap(&Mesh);
    const TArray<FSkeletalMaterial>& Slots = Mesh.GetMaterials();
    TArray<const UMaterial*> Materials;
    Materials.Init(nullptr, Description.Triangles().GetArraySize());
    for (const FTriangleID Triangle : Description.Triangles().GetElementIDs())
    {
        const int32 Slot = SlotOfGroup(GroupToSlot, Description.GetTrianglePolygonGroup(Triangle).GetValue());
        Materials[Triangle.GetValue()] = Slots.IsValidIndex(Slot) ? Slots[Slot].Material.Get() : nullptr;
    }
    return Materials;
}

/** The material each render section of a LOD draws with, in section order. */
inline TArray<const UMaterial*> MaterialPerSection(const USkeletalMesh& Mesh, int32 LOD)
{
    TArray<const UMaterial*> Materials;
    for (const int32 Slot : FindSectionSlots(Mesh, LOD))
    {
        Materials.Add(Mesh.GetMaterials().IsValidIndex(Slot) ? Mesh.GetMaterials()[Slot].Material.Get()
                                                             : nullptr);
    }
    return Materials;
}

/** Slot k and polygon group k agree on their name, up to the number of groups (slot k is drawn by group k).
 */
inline void ExpectSlotsNamedAfterGroups(const USkeletalMesh& Mesh)
{
    const FMeshDescription& Description = *Mesh.GetMeshDescription(0);
    const auto GroupNames = FSkeletalMeshAttributesShared(Description).GetPolygonGroupMaterialSlotNames();
    for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
    {
        ASSERT_TRUE(Mesh.GetMaterials().IsValidIndex(Group.GetValue())) << Group.GetValue();
        const FSkeletalMaterial& Slot = Mesh.GetMaterials()[Group.GetValue()];
        EXPECT_FALSE(Slot.ImportedMaterialSlotName.IsNone());
        EXPECT_EQ(Slot.ImportedMaterialSlotName, GroupNames[Group]) << Group.GetValue();
        EXPECT_EQ(Slot.MaterialSlotName, GroupNames[Group]) << Group.GetValue();
    }
}

/** What a cleanup leaves: one slot per polygon group, dense IDs, names agreeing, no LOD 0 map. */
inline void ExpectCleanBinding(const USkeletalMesh& Mesh)
{
    const FMeshDescription& Description = *Mesh.GetMeshDescription(0);
    EXPECT_EQ(Mesh.GetMaterials().Num(), Description.PolygonGroups().Num());
    EXPECT_EQ(Description.PolygonGroups().GetArraySize(), Description.PolygonGroups().Num());
    EXPECT_TRUE(Mesh.GetLODInfo(0)->LODMaterialMap.IsEmpty());
    ExpectSlotsNamedAfterGroups(Mesh);
}
