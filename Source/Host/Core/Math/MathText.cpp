#include "Core/Math/MathText.h"

#include "Core/Misc/Check.h"

#include <charconv>

namespace
{
bool IsBlank(char Character)
{
    return Character == ' ' || Character == '\t' || Character == '\n' || Character == '\r';
}

std::string_view TrimBlanks(std::string_view Text)
{
    while (!Text.empty() && IsBlank(Text.front()))
    {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && IsBlank(Text.back()))
    {
        Text.remove_suffix(1);
    }
    return Text;
}

/** The position just after "Label=" where the label starts the text or follows a blank, or npos. */
size_t FindValueStart(std::string_view Text, std::string_view Label)
{
    for (size_t Start = Text.find(Label); Start != std::string_view::npos;
         Start = Text.find(Label, Start + 1))
    {
        const size_t Equals = Start + Label.size();
        const bool bAtWordStart = Start == 0 || IsBlank(Text[Start - 1]);
        if (bAtWordStart && Equals < Text.size() && Text[Equals] == '=')
        {
            return Equals + 1;
        }
    }
    return std::string_view::npos;
}

/** The number text after a label: leading blanks skipped, up to the next blank. */
std::string_view ValueAt(std::string_view Text, size_t Start)
{
    while (Start < Text.size() && IsBlank(Text[Start]))
    {
        ++Start;
    }
    size_t End = Start;
    while (End < Text.size() && !IsBlank(Text[End]))
    {
        ++End;
    }
    return Text.substr(Start, End - Start);
}
} // namespace

namespace VT::Math
{
bool ParseNumber(std::string_view Text, double& OutValue)
{
    Text = TrimBlanks(Text);
    if (!Text.empty() && Text.front() == '+')
    {
        Text.remove_prefix(1);
    }
    if (Text.empty())
    {
        return false;
    }
    const char* End = Text.data() + Text.size();
    const auto Result = std::from_chars(Text.data(), End, OutValue);
    return Result.ec == std::errc() && Result.ptr == End;
}

bool ParseLabeledNumbers(std::string_view Text, std::initializer_list<std::string_view> Labels,
                         std::span<double> OutValues)
{
    VT_CHECK(Labels.size() == OutValues.size());
    size_t Index = 0;
    for (const std::string_view Label : Labels)
    {
        const size_t Start = FindValueStart(Text, Label);
        if (Start == std::string_view::npos || !ParseNumber(ValueAt(Text, Start), OutValues[Index]))
        {
            return false;
        }
        ++Index;
    }
    return true;
}

bool ParseNumberList(std::string_view Text, char Separator, std::span<double> OutValues)
{
    for (size_t Index = 0; Index < OutValues.size(); ++Index)
    {
        const bool bLast = Index + 1 == OutValues.size();
        const size_t End = Text.find(Separator);
        if (bLast != (End == std::string_view::npos))
        {
            return false;
        }
        if (!ParseNumber(Text.substr(0, End), OutValues[Index]))
        {
            return false;
        }
        Text = bLast ? std::string_view() : Text.substr(End + 1);
    }
    return true;
}
} // namespace VT::Math
