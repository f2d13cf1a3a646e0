#include "Core/Logging/LogCore.h"

VT_DEFINE_LOG_CATEGORY(LogCore);
