#pragma once

#include "Core/Logging/LogCategory.h"

/** The category of the host's core: containers, texts, modules. */
VT_DECLARE_LOG_CATEGORY_EXTERN(LogCore, Log, All);
