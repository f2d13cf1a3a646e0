#pragma once

#include "CoreUObject/Object/ObjectPtr.h"
#include "Engine/Materials/Material.h"

/** How densely each texture coordinate channel covers the surface, for texture streaming. */
struct FSkeletalMaterialUVDensities
{
    bool bInitialized = false;
    float LocalUVDensities[4] = {0.0f, 0.0f, 0.0f, 0.0f};

    bool operator==(const FSkeletalMaterialUVDensities& Other) const = default;
};

/**
 * One material slot of a skeletal mesh: the material it draws with (may be none), the slot's
 * name as the editor shows it, and the name it had in the imported file. Geometry reaches a slot
 * by index: a render section draws with the slot of its material index unless the LOD's material
 * map redirects it.
 */
struct FSkeletalMaterial
{
    TObjectPtr<UMaterial> Material;
    FName MaterialSlotName;
    FName ImportedMaterialSlotName;
    bool bCastShadow = true;
    bool bRecomputeTangents = false;
    FSkeletalMaterialUVDensities UVChannelData;

    FSkeletalMaterial() = default;
    FSkeletalMaterial(UMaterial* InMaterial, FName InSlotName, FName InImportedSlotName)
        : Material(InMaterial), MaterialSlotName(InSlotName), ImportedMaterialSlotName(InImportedSlotName)
    {
    }

    bool operator==(const FSkeletalMaterial& Other) const = default;
};
