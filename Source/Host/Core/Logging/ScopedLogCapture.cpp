#include "Core/Logging/ScopedLogCapture.h"

#include "Core/Logging/Log.h"

FScopedLogCapture::FScopedLogCapture()
{
    FLog::Get().AddOutputDevice(this);
}

FScopedLogCapture::~FScopedLogCapture()
{
    FLog::Get().RemoveOutputDevice(this);
}
