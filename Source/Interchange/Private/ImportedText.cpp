#include "Interchange/Private/ImportedText.h"

#include <algorithm>

namespace
{
bool IsContinuation(unsigned char Byte)
{
    return (Byte & 0xC0) == 0x80;
}

/** The length of the well-formed UTF-8 sequence at Text[At], or 0 when it is malformed. */
size_t SequenceLength(std::string_view Text, size_t At)
{
    const unsigned char Lead = static_cast<unsigned char>(Text[At]);
    size_t Length = 0;
    unsigned char Low = 0x80;
    unsigned char High = 0xBF;
    if (Lead < 0x80)
    {
        return 1;
    }
    if (Lead >= 0xC2 && Lead <= 0xDF)
    {
        Length = 2;
    }
    else if (Lead >= 0xE0 && Lead <= 0xEF)
    {
        Length = 3;
        Low = Lead == 0xE0 ? 0xA0 : 0x80;
        High = Lead == 0xED ? 0x9F : 0xBF;
    }
    else if (Lead >= 0xF0 && Lead <= 0xF4)
    {
        Length = 4;
        Low = Lead == 0xF0 ? 0x90 : 0x80;
        High = Lead == 0xF4 ? 0x8F : 0xBF;
    }
    else
    {
        return 0;
    }
    if (At + Length > Text.size())
    {
        return 0;
    }
    const unsigned char Second = static_cast<unsigned char>(Text[At + 1]);
    if (Second < Low || Second > High)
    {
        return 0;
    }
    for (size_t Index = 2; Index < Length; ++Index)
    {
        if (!IsContinuation(static_cast<unsigned char>(Text[At + Index])))
        {
            return 0;
        }
    }
    return Length;
}

bool IsControl(std::string_view Text, size_t At, size_t Length)
{
    const unsigned char Lead = static_cast<unsigned char>(Text[At]);
    if (Length == 1)
    {
        return Lead < 0x20 || Lead == 0x7F;
    }
    // U+0080 to U+009F, the C1 controls: 0xC2 0x80 to 0xC2 0x9F.
    return Length == 2 && Lead == 0xC2 && static_cast<unsigned char>(Text[At + 1]) <= 0x9F;
}
} // namespace

namespace ImportedText
{
FString CleanName(std::string_view Text)
{
    std::string Clean;
    Clean.reserve(Text.size());
    for (size_t At = 0; At < Text.size();)
    {
        const size_t Length = SequenceLength(Text, At);
        if (Length == 0 || IsControl(Text, At, Length))
        {
            Clean += '_';
            At += Length == 0 ? 1 : Length;
            continue;
        }
        Clean.append(Text.substr(At, Length));
        At += Length;
    }
    return FString(std::move(Clean));
}

FName ToName(std::string_view Text)
{
    return FName(CleanName(Text));
}

FString ForMessage(std::string_view Text, size_t MaxBytes)
{
    if (Text.size() <= MaxBytes)
    {
        return CleanName(Text);
    }
    // Cut between UTF-8 sequences: a cut sequence would only show as '_'.
    size_t End = 0;
    while (End < Text.size())
    {
        const size_t Length = std::max<size_t>(SequenceLength(Text, End), 1);
        if (End + Length > MaxBytes - 3)
        {
            break;
        }
        End += Length;
    }
    return CleanName(Text.substr(0, End)) + "...";
}
} // namespace ImportedText
