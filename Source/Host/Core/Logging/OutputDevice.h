#pragma once

#include "Core/Logging/LogVerbosity.h"
#include "Core/Name/Name.h"

/** Somewhere log messages go: a console, a file, a test's capture. */
class FOutputDevice
{
public:
    virtual ~FOutputDevice() = default;

    /** Receives one formatted message without a line end. */
    virtual void Serialize(const char* Message, ELogVerbosity Verbosity, const FName& Category) = 0;
    /** Writes out anything buffered. */
    virtual void Flush() {}
};
