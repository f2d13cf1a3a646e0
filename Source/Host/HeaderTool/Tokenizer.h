#pragma once

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

/** Splits C++ source into tokens, dropping comments and preprocessor lines. */
std::vector<FToken> Tokenize(const std::string& Source);
} // namespace HeaderTool
