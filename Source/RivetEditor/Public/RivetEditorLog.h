#pragma once

#include "Core/Logging/LogCategory.h"
#include "Core/Logging/LogMacros.h"

/**
 * The module's log. Every line begins "[RivetEditor] ": each call writes the prefix into its format
 * string, so that a line reads in the code as it reads in the log.
 */
VT_DECLARE_LOG_CATEGORY_EXTERN(LogRivetEditor, Log, All);
