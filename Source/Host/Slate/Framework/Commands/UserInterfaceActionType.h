#pragma once

#include "Core/CoreTypes.h"

/** How a command shows in menus and toolbars. */
enum class EUserInterfaceActionType : uint8
{
    None = 0,
    Button = 1,
    ToggleButton = 2,
    RadioButton = 3,
    Check = 4,
};
