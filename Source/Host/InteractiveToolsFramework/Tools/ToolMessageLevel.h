#pragma once

#include "Core/CoreTypes.h"

/** How prominently the editor shows a tool message. */
enum class EToolMessageLevel : uint8
{
    /** For developers; not shown to the user. */
    Internal = 0,
    /** A line in the tool's message area. */
    UserMessage = 1,
    /** A hint or a result the user should notice. */
    UserNotification = 2,
    /** Something did not happen as the user asked. */
    UserWarning = 3,
    /** Something failed. */
    UserError = 4,
};
