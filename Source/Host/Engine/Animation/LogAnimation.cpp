#include "Engine/Animation/LogAnimation.h"

VT_DEFINE_LOG_CATEGORY(LogAnimation);
