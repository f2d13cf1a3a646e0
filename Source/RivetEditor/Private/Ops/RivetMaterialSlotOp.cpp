#include "RivetEditor/Private/Ops/RivetMaterialSlotOp.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"

namespace
{
int32 PolygonGroupIDRange(const FMeshDescription& Description)
{
    int32 Range = 0;
    for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
    {
        Range = std::max(Range, Group.GetValue() + 1);
    }
    return Range;
}

const FImportedLODModel* FirstLODModel(const USkeletalMesh& Mesh)
{
    const FSkeletalMeshImportedModel* Model = Mesh.GetImportedModel();
    return Model && Model->LODModels.Num() > 0 ? &Model->LODModels[0] : nullptr;
}

int32 SlotOfGroup(const TArray<int32>& GroupToSlot, int32 Group)
{
    return Group >= 0 && Group < GroupToSlot.Num() ? GroupToSlot[Group] : Group;
}
} // namespace

TArray<int32> BuildGroupToSlotMap(const USkeletalMesh* Mesh)
{
    const FMeshDescription* Description = Mesh ? Mesh->GetMeshDescription(0) : nullptr;
    if (!Description)
    {
        return {};
    }
    TArray<int32> GroupToSlot;
    const int32 Range = PolygonGroupIDRange(*Description);
    GroupToSlot.Reserve(Range);
    for (int32 Group = 0; Group < Range; ++Group)
    {
        GroupToSlot.Add(Group);
    }

    const FSkeletalLODInfo* LODInfo = Mesh->GetLODInfo(0);
    const FImportedLODModel* LODModel = FirstLODModel(*Mesh);
    if (!LODInfo || !LODModel)
    {
        return GroupToSlot;
    }
    const TArray<int32>& LODMaterialMap = LODInfo->LODMaterialMap;
    for (int32 Section = 0; Section < LODModel->Sections.Num(); ++Section)
    {
        const int32 Group = LODModel->Sections[Section].MaterialIndex;
        if (Group < GroupToSlot.Num() && Section < LODMaterialMap.Num() &&
            LODMaterialMap[Section] != INDEX_NONE)
        {
            GroupToSlot[Group] = LODMaterialMap[Section];
        }
    }
    return GroupToSlot;
}

TArray<int32> CountTrianglesPerSlot(const USkeletalMesh* Mesh)
{
    if (!Mesh)
    {
        return {};
    }
    TArray<int32> Counts;
    Counts.SetNum(Mesh->GetMaterials().Num(), 0);
    const FMeshDescription* Description = Mesh->GetMeshDescription(0);
    if (!Description)
    {
        return Counts;
    }
    const TArray<int32> GroupToSlot = BuildGroupToSlotMap(Mesh);
    for (const FTriangleID Triangle : Description->Triangles().GetElementIDs())
    {
        const int32 Slot =
            SlotOfGroup(GroupToSlot, Description->GetTrianglePolygonGroup(Triangle).GetValue());
        if (Slot >= 0 && Slot < Counts.Num())
        {
            ++Counts[Slot];
        }
    }
    return Counts;
}
