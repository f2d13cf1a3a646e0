#pragma once

#include "Core/CoreTypes.h"
#include "CoreUObject/Object/ObjectMacros.h"

/** What the mesh selection tool can do with its selection; a panel button posts one of these. */
VT_ENUM(ToolTip = "An action of the mesh selection tool.")
enum class EMeshSelectionToolActions : uint8
{
    NoAction = 0 VT_UMETA(DisplayName = "No Action"),
    SelectAll = 1 VT_UMETA(DisplayName = "Select All"),
    ClearSelection = 2 VT_UMETA(DisplayName = "Clear Selection"),
    InvertSelection = 3 VT_UMETA(DisplayName = "Invert Selection"),
    GrowSelection = 4 VT_UMETA(DisplayName = "Grow Selection"),
    ShrinkSelection = 5 VT_UMETA(DisplayName = "Shrink Selection"),
    ExpandToConnected = 6 VT_UMETA(DisplayName = "Expand To Connected"),
    Delete = 11 VT_UMETA(DisplayName = "Delete"),
    Disconnect = 12 VT_UMETA(DisplayName = "Disconnect"),
    FlipNormals = 15 VT_UMETA(DisplayName = "Flip Normals"),
    CreatePolygroup = 16 VT_UMETA(DisplayName = "Create Polygroup"),
    SmoothBorder = 17 VT_UMETA(DisplayName = "Smooth Border"),
};
VT_ENUM_BODY(EMeshSelectionToolActions)
