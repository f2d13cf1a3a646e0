#pragma once

#include "Core/Logging/ScopedLogCapture.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetMergeSlotsOp.h"
#include "RivetEditor/Private/Ops/RivetSlotUsage.h"
#include "RivetMaterialSlots.h"
#include "Support/AssetNames.h"
#include "Support/ElementIDs.h"
#include "Support/MeshBuilders.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

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

/** What a cleanup leaves: dense group IDs, slot k named (and imported) as group k, no LOD 0 map. */
inline void ExpectCleanBinding(const USkeletalMesh& Mesh)
{
    const FMeshDescription& Description = *Mesh.GetMeshDescription(0);
    EXPECT_EQ(Description.PolygonGroups().GetArraySize(), Description.PolygonGroups().Num());
    EXPECT_TRUE(Mesh.GetLODInfo(0)->LODMaterialMap.IsEmpty());
    const TArray<FName> GroupNames = GroupSlotNames(Description);
    EXPECT_FALSE(GroupNames.Contains(NAME_None));
    EXPECT_EQ(SlotNames(Mesh), GroupNames);
    EXPECT_EQ(SlotNames(Mesh, &FSkeletalMaterial::ImportedMaterialSlotName), GroupNames);
}

/** The test character's mesh for a slot operation to work on, with the log captured. */
class FSlotOpTest : public testing::Test
{
protected:
    void Build(const FTestSkeletalAssetOptions& Options)
    {
        FTransactionBuffer::Get().Reset();
        Mesh = BuildTestSkeletalAsset(Options).Mesh;
    }

    FMeshDescription& LOD0() const { return *Mesh->GetMeshDescription(0); }
    const UMaterial* MaterialOf(int32 Slot) const { return Mesh->GetMaterials()[Slot].Material.Get(); }
    void SetMap(TArray<int32> Map) { Mesh->GetLODInfo(0)->LODMaterialMap = std::move(Map); }

    /** Moves a group's triangles into another group and commits, as an earlier edit would have. */
    void MoveGroup(int32 From, int32 To)
    {
        MovePolygonGroupPolygons(LOD0(), FPolygonGroupID(From), FPolygonGroupID(To));
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    }

    USkeletalMesh* Mesh = nullptr;
    FScopedLogCapture Log;
};
