#include "Core/Logging/LogLineFormat.h"

namespace VT
{
FString FormatLogLine(const char* Message, ELogVerbosity Verbosity, const FName& Category)
{
    if (Verbosity == ELogVerbosity::Log)
    {
        return FString::Printf("%s: %s", Category.GetPlainName(), Message);
    }
    return FString::Printf("%s: %s: %s", Category.GetPlainName(), ToString(Verbosity), Message);
}
} // namespace VT
