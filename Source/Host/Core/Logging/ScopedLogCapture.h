#pragma once

#include "Core/Logging/OutputDeviceMemory.h"

/** An in-memory device that is attached to the log for as long as it lives. */
class FScopedLogCapture : public FOutputDeviceMemory
{
public:
    FScopedLogCapture();
    ~FScopedLogCapture() override;
    FScopedLogCapture(const FScopedLogCapture&) = delete;
    FScopedLogCapture& operator=(const FScopedLogCapture&) = delete;
};
