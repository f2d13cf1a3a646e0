#include "Interchange/LogInterchange.h"

VT_DEFINE_LOG_CATEGORY(LogInterchange);
