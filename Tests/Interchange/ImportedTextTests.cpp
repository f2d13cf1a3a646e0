#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/JsonNesting.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
TEST(ImportedText, NamesKeepWellFormedUtf8AndLoseControlsAndBrokenBytes)
{
    const std::pair<std::string, const char*> Cases[] = {
        {"Hand_L", "Hand_L"},
        {"\xC3\xA9paule \xE2\x80\x94 \xF0\x9F\xA6\xB4", "\xC3\xA9paule \xE2\x80\x94 \xF0\x9F\xA6\xB4"},
        {std::string("a\0b", 3), "a_b"},
        {"tab\there\x7F", "tab_here_"},
        {"c1\xC2\x9B"
         "31m",
         "c1_31m"},
        {"cut\xC3", "cut_"},
        {"overlong\xC0\xAF", "overlong__"},
        {"surrogate\xED\xA0\x80", "surrogate___"},
        {"beyond\xF4\x90\x80\x80", "beyond____"},
    };
    for (const auto& [Text, Clean] : Cases)
    {
        EXPECT_EQ(ImportedText::CleanName(Text), Clean);
    }
    EXPECT_EQ(ImportedText::ToName(std::string("\0", 1)), FName("_"));
}

TEST(ImportedText, MessagesCutLongTextBetweenCharacters)
{
    EXPECT_EQ(ImportedText::ForMessage(std::string(64, 'x')), FString(std::string(64, 'x')));
    EXPECT_EQ(ImportedText::ForMessage(std::string(65, 'x')), FString(std::string(61, 'x') + "..."));
    // 30 two-byte characters and more: the cut never splits one.
    std::string Accents;
    for (int Index = 0; Index < 40; ++Index)
    {
        Accents += "\xC3\xA9";
    }
    EXPECT_EQ(ImportedText::ForMessage(Accents), FString(Accents.substr(0, 60) + "..."));
}

TEST(JsonNesting, CountsOnlyBracketsOutsideStrings)
{
    EXPECT_NO_THROW(CheckJsonNesting(R"({"a": [[["[[[[{{{{\"]"]]]})", 4));
    EXPECT_NO_THROW(CheckJsonNesting(std::string(4, '[') + std::string(4, ']'), 4));
    try
    {
        CheckJsonNesting(std::string(5, '[') + std::string(5, ']'), 4);
        ADD_FAILURE() << "five levels passed a limit of four";
    }
    catch (const FInterchangeFailure& Failure)
    {
        EXPECT_EQ(Failure.GetProblem(), "malformed glTF: its JSON nests arrays and objects more than 4 deep");
    }
}
} // namespace
