#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace HeaderTool
{
enum class ETokenKind
{
    Identifier,
    String,
    Number,
    Symbol,
};

struct FToken
{
    ETokenKind Kind;
    /** The token as written; string literals keep their quotes and escapes. */
    std::string Text;
    int Line;

    bool Is(const char* Symbol) const { return Text == Symbol && Kind != ETokenKind::String; }
};

/** A header that the tool cannot read, with the line where reading stopped. */
struct FParseError : std::runtime_error
{
    FParseError(const std::string& Message, int InLine) : std::runtime_error(Message), Line(InLine) {}
    int Line;
};

/** Splits C++ source into tokens, dropping comments and preprocessor lines. Throws FParseError. */
std::vector<FToken> Tokenize(const std::string& Source);
} // namespace HeaderTool
