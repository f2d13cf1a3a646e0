#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Console/TerminalText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

TEST(TerminalText, ShowsControlsBrokenUtf8AndReorderingAsEscapesAndKeepsOtherText)
{
    struct FCase
    {
        std::string Text;
        bool bKeepNewlines;
        std::string Shown;
    };
    const FCase Cases[] = {
        {"Hand_L", false, "Hand_L"},
        {"Gro\xc3\x9f \xe2\x80\x94 \xf0\x9f\xa6\xb4", false, "Gro\xc3\x9f \xe2\x80\x94 \xf0\x9f\xa6\xb4"},
        {"\x1b]0;title\x07\x1b[2J", false, "\\x1b]0;title\\x07\\x1b[2J"},
        {"a\nrivet: error: fake\r", false, "a\\x0arivet: error: fake\\x0d"},
        {"a\nb\tc", true, "a\nb\\x09c"},
        {std::string("nul\0x", 5), false, "nul\\x00x"},
        {"del\x7f c1\xc2\x9b", false, "del\\x7f c1\\x9b"},
        {"evil\xe2\x80\xae" "txt.exe \xe2\x80\xa8", false, "evil\\u202etxt.exe \\u2028"},
        {"bad\xff\xc3(\xed\xa0\x80\xc0\xaf", false, "bad\\xff\\xc3(\\xed\\xa0\\x80\\xc0\\xaf"},
        {"cut\xe2\x80", false, "cut\\xe2\\x80"},
    };
    for (const FCase& Case : Cases)
    {
        EXPECT_EQ(MakeTerminalText(Case.Text, Case.bKeepNewlines).ToStdString(), Case.Shown) << Case.Text;
    }
}

TEST(TerminalText, LongTextIsCutAtACharacterWithTheCountOfWhatWasCut)
{
    EXPECT_EQ(MakeTerminalText(std::string(10, 'x'), false, 10).ToStdString(), std::string(10, 'x'));
    EXPECT_EQ(MakeTerminalText(std::string(916000, 'x')).ToStdString(),
              std::string(MaxTerminalTextBytes, 'x') + "... (" + std::to_string(916000 - MaxTerminalTextBytes) +
                  " more bytes)");
    // An escape is never split, and a character is never cut in two.
    EXPECT_EQ(MakeTerminalText("ab\x1b" "cd", false, 3).ToStdString(), "ab\\x1b... (2 more bytes)");
    EXPECT_EQ(MakeTerminalText("a\xe2\x80\x94z", false, 2).ToStdString(), "a\xe2\x80\x94... (1 more bytes)");
}

TEST(TerminalText, EveryConsoleLineIsEscapedAndOnlyToolMessagesKeepTheirLines)
{
    std::ostringstream Out;
    std::ostringstream Err;
    FRivetConsole Console(Out, Err);
    Console.Print("bone \x1b[2JHead");
    Console.ToolMessage(EToolMessageLevel::UserWarning, "first\nsecond \x1b]0;x\x07");
    Console.Warning("w\nrivet: error: fake");
    Console.Error("e\r\n");

    EXPECT_EQ(Out.str(), "bone \\x1b[2JHead\nwarning: first\n         second \\x1b]0;x\\x07\n");
    EXPECT_EQ(Err.str(), "rivet: warning: w\\x0arivet: error: fake\nrivet: error: e\\x0d\\x0a\n");
    // The summary keeps the texts whole: JSON escapes them itself.
    EXPECT_EQ(Console.Json()["errors"][0], "e\r\n");
}
