#include "CoreUObject/Reflection/Property.h"

#include <cstdlib>

namespace VT::Reflection
{
bool ParseClampLimit(const FField& Field, FName Key, long double& OutLimit)
{
    if (!Field.HasMetaData(Key))
    {
        return false;
    }
    const FString Text = Field.GetMetaData(Key).TrimStartAndEnd();
    char* End = nullptr;
    OutLimit = std::strtold(*Text, &End);
    return !Text.IsEmpty() && End == *Text + Text.Len();
}
} // namespace VT::Reflection
