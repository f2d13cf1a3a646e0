#include "Core/Logging/OutputDeviceConsole.h"

#include "Core/Logging/LogLineFormat.h"

void FOutputDeviceConsole::Serialize(const char* Message, ELogVerbosity Verbosity, const FName& Category)
{
    const bool bProblem = Verbosity <= ELogVerbosity::Warning;
    std::FILE* Stream = bProblem ? Error : Output;
    const FString Line = VT::FormatLogLine(Message, Verbosity, Category);
    std::fprintf(Stream, "%s\n", *Line);
    if (bProblem)
    {
        std::fflush(Stream);
    }
}

void FOutputDeviceConsole::Flush()
{
    std::fflush(Output);
    std::fflush(Error);
}
