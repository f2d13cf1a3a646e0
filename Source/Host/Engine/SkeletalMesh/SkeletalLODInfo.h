#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"

/**
 * The settings of one level of detail of a skeletal mesh. LODMaterialMap redirects the LOD's
 * render sections to material slots: entry i, when present and not INDEX_NONE, is the slot that
 * section i draws with; otherwise the section draws with the slot of its own material index.
 */
struct FSkeletalLODInfo
{
    TArray<int32> LODMaterialMap;
    /** The screen size below which the next LOD takes over. */
    float ScreenSize = 1.0f;
    float LODHysteresis = 0.0f;
    /** True when the LOD was made by reducing another one rather than imported. */
    bool bHasBeenSimplified = false;

    bool operator==(const FSkeletalLODInfo& Other) const = default;
};
