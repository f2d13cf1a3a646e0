#pragma once

#include "Core/Logging/LogCategory.h"
#include "Core/Logging/LogMacros.h"

/** The category of the tool framework: tools starting and ending, messages shown. */
VT_DECLARE_LOG_CATEGORY_EXTERN(LogInteractiveTools, Log, All);
