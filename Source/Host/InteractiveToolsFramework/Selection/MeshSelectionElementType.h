#pragma once

#include "Core/CoreTypes.h"

/** The kinds of mesh element a selection set holds. */
enum class EMeshSelectionElementType : uint8
{
    Vertex = 0,
    Face = 1,
    Edge = 2,
    Group = 3,
};
