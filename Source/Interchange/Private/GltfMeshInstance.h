#pragma once

#include "Core/CoreTypes.h"

/** One glTF mesh to read: placed by a node (INDEX_NONE: as it is) and skinned by a skin (or INDEX_NONE). */
struct FGltfMeshInstance
{
    int32 Mesh = INDEX_NONE;
    int32 Node = INDEX_NONE;
    int32 Skin = INDEX_NONE;
};
