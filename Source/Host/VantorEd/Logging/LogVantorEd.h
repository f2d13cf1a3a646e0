#pragma once

#include "Core/Logging/LogCategory.h"

/** The category of the editor's services: undo, assets, the content browser. */
VT_DECLARE_LOG_CATEGORY_EXTERN(LogVantorEd, Log, All);
