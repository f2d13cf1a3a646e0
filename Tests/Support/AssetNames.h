#pragma once

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

/** The bones' names as imported, in bone order, to compare with a list written out in a test. */
inline TArray<FName> BoneNames(const FReferenceSkeleton& Bones)
{
    TArray<FName> Names;
    for (const FReferenceBone& Bone : Bones.GetRawRefBoneInfo())
    {
        Names.Add(Bone.Name);
    }
    return Names;
}

/** The material slots' names (or their imported names), in slot order. */
inline TArray<FName> SlotNames(const USkeletalMesh& Mesh,
                               FName FSkeletalMaterial::*Name = &FSkeletalMaterial::MaterialSlotName)
{
    TArray<FName> Names;
    for (const FSkeletalMaterial& Slot : Mesh.GetMaterials())
    {
        Names.Add(Slot.*Name);
    }
    return Names;
}

/** The slot names of the description's polygon groups, in group order. */
inline TArray<FName> GroupSlotNames(const FMeshDescription& Mesh)
{
    const auto GroupNames = FSkeletalMeshAttributesShared(Mesh).GetPolygonGroupMaterialSlotNames();
    TArray<FName> Names;
    for (const FPolygonGroupID Group : Mesh.PolygonGroups().GetElementIDs())
    {
        Names.Add(GroupNames[Group]);
    }
    return Names;
}
