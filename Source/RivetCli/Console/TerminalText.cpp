#include "RivetCli/Console/TerminalText.h"

#include <cstdio>

namespace
{
/** The length of the UTF-8 sequence starting at At with its code point, or 0 when the bytes are not one. */
size_t DecodeUtf8(std::string_view Text, size_t At, uint32& OutCode)
{
    const unsigned char Lead = static_cast<unsigned char>(Text[At]);
    const size_t Length = Lead >= 0xF0 && Lead <= 0xF4   ? 4
                          : Lead >= 0xE0 && Lead <= 0xEF ? 3
                          : Lead >= 0xC2 && Lead <= 0xDF ? 2
                                                         : 0;
    if (Length == 0 || At + Length > Text.size())
    {
        return 0;
    }
    constexpr unsigned char LeadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
    uint32 Code = Lead & LeadBits[Length];
    for (size_t Index = 1; Index < Length; ++Index)
    {
        const unsigned char Next = static_cast<unsigned char>(Text[At + Index]);
        if ((Next & 0xC0) != 0x80)
        {
            return 0;
        }
        Code = (Code << 6) | (Next & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    constexpr uint32 Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (Code < Smallest[Length] || (Code >= 0xD800 && Code <= 0xDFFF) || Code > 0x10FFFF)
    {
        return 0;
    }
    OutCode = Code;
    return Length;
}

/** C1 controls, line and paragraph separators, and the characters that reorder text. */
bool IsInvisibleControl(uint32 Code)
{
    return (Code >= 0x80 && Code <= 0x9F) || Code == 0x2028 || Code == 0x2029 || (Code >= 0x200E && Code <= 0x200F) ||
           (Code >= 0x202A && Code <= 0x202E) || (Code >= 0x2066 && Code <= 0x2069);
}

void AppendEscape(std::string& Out, const char* Format, uint32 Value)
{
    char Buffer[16];
    std::snprintf(Buffer, sizeof(Buffer), Format, Value);
    Out += Buffer;
}
} // namespace

FString MakeTerminalText(std::string_view Text, bool bKeepNewlines, int32 MaxBytes)
{
    std::string Out;
    size_t At = 0;
    while (At < Text.size() && Out.size() < static_cast<size_t>(MaxBytes))
    {
        const unsigned char Byte = static_cast<unsigned char>(Text[At]);
        if (Byte < 0x80)
        {
            if ((Byte < 0x20 || Byte == 0x7F) && !(bKeepNewlines && Byte == '\n'))
            {
                AppendEscape(Out, "\\x%02x", Byte);
            }
            else
            {
                Out += static_cast<char>(Byte);
            }
            ++At;
            continue;
        }
        uint32 Code = 0;
        const size_t Length = DecodeUtf8(Text, At, Code);
        if (Length == 0)
        {
            AppendEscape(Out, "\\x%02x", Byte);
            ++At;
            continue;
        }
        if (IsInvisibleControl(Code))
        {
            AppendEscape(Out, Code <= 0xFF ? "\\x%02x" : "\\u%04x", Code);
        }
        else
        {
            Out.append(Text.substr(At, Length));
        }
        At += Length;
    }
    if (At < Text.size())
    {
        Out += "... (" + std::to_string(Text.size() - At) + " more bytes)";
    }
    return FString(std::move(Out));
}
