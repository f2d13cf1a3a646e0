#include "FuzzSupport/FuzzSession.h"

#include <string_view>

TArray<FString> SplitFuzzLines(const uint8_t* Data, size_t Size, int32 MaxLines)
{
    const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    TArray<FString> Lines;
    size_t At = 0;
    while (At < Text.size() && Lines.Num() < MaxLines)
    {
        const size_t End = std::min(Text.find('\n', At), Text.size());
        Lines.Add(FString(Text.substr(At, End - At)));
        At = End + 1;
    }
    return Lines;
}
