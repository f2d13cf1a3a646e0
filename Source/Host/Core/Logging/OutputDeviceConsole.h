#pragma once

#include "Core/Logging/OutputDevice.h"

#include <cstdio>

/**
 * Writes messages as lines to the console: warnings and worse to the error stream, the rest
 * to the output stream. The streams can be replaced, e.g. by files in a test.
 */
class FOutputDeviceConsole : public FOutputDevice
{
public:
    FOutputDeviceConsole() : FOutputDeviceConsole(stdout, stderr) {}
    FOutputDeviceConsole(std::FILE* InOutput, std::FILE* InError) : Output(InOutput), Error(InError) {}

    void Serialize(const char* Message, ELogVerbosity Verbosity, const FName& Category) override;
    void Flush() override;

private:
    std::FILE* Output;
    std::FILE* Error;
};
