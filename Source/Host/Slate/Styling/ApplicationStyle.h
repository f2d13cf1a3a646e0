#pragma once

#include "Core/Name/Name.h"

/** The editor application's style set, in which command icons and brushes are looked up. */
class FApplicationStyle
{
public:
    static FName GetStyleSetName();
};
