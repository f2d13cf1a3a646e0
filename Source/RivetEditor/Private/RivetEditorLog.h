#pragma once

#include "Core/Logging/LogCategory.h"
#include "Core/Logging/LogMacros.h"

/** The module's log: every line begins "[RivetEditor] ". */
VT_DECLARE_LOG_CATEGORY_EXTERN(LogRivetEditor, Log, All);
