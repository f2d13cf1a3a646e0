#include "InteractiveToolsFramework/Logging/LogInteractiveTools.h"

VT_DEFINE_LOG_CATEGORY(LogInteractiveTools);
