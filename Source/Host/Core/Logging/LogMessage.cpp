#include "Core/Logging/Log.h"
#include "Core/Logging/LogMacros.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace VT::Private
{
void LogMessage(const FLogCategory& Category, ELogVerbosity Verbosity, const char* Format, ...)
{
    va_list Args;
    va_start(Args, Format);
    const FString Message = FString::PrintfV(Format, Args);
    va_end(Args);
    if (Verbosity == ELogVerbosity::Fatal)
    {
        std::fprintf(stderr, "Fatal error: %s: %s\n", Category.GetCategoryName().GetPlainName(), *Message);
        std::fflush(stderr);
    }
    FLog::Get().Serialize(*Message, Verbosity, Category.GetCategoryName());
}

void AbortAfterFatal(const char* File, int Line)
{
    FLog::Get().Flush();
    std::fprintf(stderr, "Stopped by a fatal log message at %s:%d\n", File, Line);
    std::fflush(stderr);
    std::abort();
}
} // namespace VT::Private
