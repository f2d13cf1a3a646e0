#include "RivetEditorLog.h"

VT_DEFINE_LOG_CATEGORY(LogRivetEditor);
