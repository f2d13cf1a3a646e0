#pragma once

#include "Core/Containers/String.h"
#include "Core/Logging/LogVerbosity.h"
#include "Core/Name/Name.h"

namespace VT
{
/**
 * A message as a line of a console or a log file: "Category: Verbosity: Message", or
 * "Category: Message" for the plain Log verbosity. No line end.
 */
FString FormatLogLine(const char* Message, ELogVerbosity Verbosity, const FName& Category);
} // namespace VT
