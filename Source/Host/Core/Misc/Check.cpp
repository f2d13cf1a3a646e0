#include "Core/Misc/Check.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace VT::Private
{
void CheckFailed(const char* Expression, const char* File, int Line, const char* Format, ...)
{
    std::fprintf(stderr, "Check failed: %s at %s:%d ", Expression, File, Line);
    va_list Args;
    va_start(Args, Format);
    std::vfprintf(stderr, Format, Args);
    va_end(Args);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    std::abort();
}
} // namespace VT::Private
