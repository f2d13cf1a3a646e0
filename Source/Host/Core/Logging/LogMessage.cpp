#include "Core/Logging/Log.h"
#include "Core/Logging/LogMacros.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
FString FormatArguments(const char* Format, va_list Args)
{
    va_list Copy;
    va_copy(Copy, Args);
    const int Needed = std::vsnprintf(nullptr, 0, Format, Copy);
    va_end(Copy);
    std::string Result(static_cast<size_t>(std::max(Needed, 0)), '\0');
    if (Needed > 0)
    {
        std::vsnprintf(Result.data(), Result.size() + 1, Format, Args);
    }
    return FString(std::move(Result));
}
} // namespace

namespace VT::Private
{
void LogMessage(const FLogCategory& Category, ELogVerbosity Verbosity, const char* Format, ...)
{
    va_list Args;
    va_start(Args, Format);
    const FString Message = FormatArguments(Format, Args);
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
