#include "VantorEd/Logging/LogVantorEd.h"

VT_DEFINE_LOG_CATEGORY(LogVantorEd);
