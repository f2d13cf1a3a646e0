#include "Tokenizer.h"

#include <cctype>

namespace HeaderTool
{
namespace
{
bool IsIdentifierStart(char C)
{
    return std::isalpha(static_cast<unsigned char>(C)) || C == '_';
}

bool IsIdentifierPart(char C)
{
    return std::isalnum(static_cast<unsigned char>(C)) || C == '_';
}

class FTokenizer
{
public:
    explicit FTokenizer(const std::string& InSource) : Source(InSource) {}

    std::vector<FToken> Run()
    {
        bool bLineStart = true;
        while (Position < Source.size())
        {
            const char C = Source[Position];
            if (C == '\n')
            {
                ++Line;
                ++Position;
                bLineStart = true;
                continue;
            }
            if (std::isspace(static_cast<unsigned char>(C)))
            {
                ++Position;
                continue;
            }
            if (C == '#' && bLineStart)
            {
                SkipPreprocessorLine();
                continue;
            }
            bLineStart = false;
            if (StartsWith("//"))
            {
                SkipUntil("\n");
            }
            else if (StartsWith("/*"))
            {
                SkipUntil("*/");
                Position += 2;
            }
            else if (C == '"' || C == '\'')
            {
                ReadQuoted(C);
            }
            else if (IsIdentifierStart(C))
            {
                ReadWhile(ETokenKind::Identifier, IsIdentifierPart);
            }
            else if (std::isdigit(static_cast<unsigned char>(C)))
            {
                ReadNumber();
            }
            else if (StartsWith("::"))
            {
                Tokens.push_back({ETokenKind::Symbol, "::", Line});
                Position += 2;
            }
            else
            {
                Tokens.push_back({ETokenKind::Symbol, std::string(1, C), Line});
                ++Position;
            }
        }
        return Tokens;
    }

private:
    bool StartsWith(const char* Text) const
    {
        return Source.compare(Position, std::char_traits<char>::length(Text), Text) == 0;
    }

    void SkipUntil(const char* Text)
    {
        while (Position < Source.size() && !StartsWith(Text))
        {
            Line += Source[Position] == '\n';
            ++Position;
        }
    }

    void SkipPreprocessorLine()
    {
        while (Position < Source.size() && Source[Position] != '\n')
        {
            if (Source[Position] == '\\' && Position + 1 < Source.size() && Source[Position + 1] == '\n')
            {
                ++Line;
                ++Position;
            }
            ++Position;
        }
    }

    void ReadQuoted(char Quote)
    {
        const size_t Start = Position++;
        while (Position < Source.size() && Source[Position] != Quote && Source[Position] != '\n')
        {
            Position += Source[Position] == '\\' ? 2 : 1;
        }
        if (Position >= Source.size() || Source[Position] != Quote)
        {
            throw FParseError("unterminated literal", Line);
        }
        ++Position;
        Tokens.push_back({ETokenKind::String, Source.substr(Start, Position - Start), Line});
    }

    /** A number literal, with digit separators (10'000) and signed exponents (1.5e-3). */
    void ReadNumber()
    {
        const size_t Start = Position;
        while (Position < Source.size())
        {
            const char D = Source[Position];
            const char Previous = Source[Position - 1];
            const bool bSeparator = D == '\'' && Position + 1 < Source.size() &&
                                    std::isalnum(static_cast<unsigned char>(Source[Position + 1]));
            const bool bExponentSign = (D == '+' || D == '-') && (Previous == 'e' || Previous == 'E') &&
                                       Source.compare(Start, 2, "0x") != 0;
            if (!IsIdentifierPart(D) && D != '.' && !bSeparator && !bExponentSign)
            {
                break;
            }
            ++Position;
        }
        Tokens.push_back({ETokenKind::Number, Source.substr(Start, Position - Start), Line});
    }

    template <typename PredicateType>
    void ReadWhile(ETokenKind Kind, PredicateType Predicate)
    {
        const size_t Start = Position;
        while (Position < Source.size() && Predicate(Source[Position]))
        {
            ++Position;
        }
        Tokens.push_back({Kind, Source.substr(Start, Position - Start), Line});
    }

    const std::string& Source;
    size_t Position = 0;
    int Line = 1;
    std::vector<FToken> Tokens;
};
} // namespace

std::vector<FToken> Tokenize(const std::string& Source)
{
    return FTokenizer(Source).Run();
}
} // namespace HeaderTool
