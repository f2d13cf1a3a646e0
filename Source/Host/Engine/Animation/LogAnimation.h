#pragma once

#include "Core/Logging/LogCategory.h"

/** The category of skeletons, animation sequences and their data: refused edits and lookups. */
VT_DECLARE_LOG_CATEGORY_EXTERN(LogAnimation, Log, All);
