#include "Interchange/Private/InterchangeFailure.h"

#include <cstdarg>

void FailImport(const char* Format, ...)
{
    va_list Args;
    va_start(Args, Format);
    FString Problem = FString::PrintfV(Format, Args);
    va_end(Args);
    throw FInterchangeFailure(std::move(Problem));
}
