#pragma once

#include "Core/Logging/LogCategory.h"

/** Imports and exports of skinned mesh files: refused files, dropped or repaired data. */
VT_DECLARE_LOG_CATEGORY_EXTERN(LogInterchange, Log, All);
