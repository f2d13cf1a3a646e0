#include "HeaderParser.h"

#include <algorithm>

namespace HeaderTool
{
bool FMarkerArguments::HasSpecifier(const char* Name) const
{
    return std::find(Specifiers.begin(), Specifiers.end(), Name) != Specifiers.end();
}

namespace
{
const char* const KnownSpecifiers[] = {"EditAnywhere", "VisibleAnywhere", "Abstract"};

bool IsKnownSpecifier(const std::string& Word)
{
    return std::find(std::begin(KnownSpecifiers), std::end(KnownSpecifiers), Word) !=
           std::end(KnownSpecifiers);
}

std::string Quote(const std::string& Text)
{
    return "\"" + Text + "\"";
}

class FParser
{
public:
    explicit FParser(const std::vector<FToken>& InTokens) : Tokens(InTokens) {}

    FReflectedHeader Run()
    {
        while (!AtEnd())
        {
            if (Peek().Is("VT_CLASS"))
            {
                ParseClass();
            }
            else if (Peek().Is("VT_ENUM"))
            {
                ParseEnum();
            }
            else if (Peek().Is("VT_PROPERTY") || Peek().Is("VT_FUNCTION"))
            {
                Fail(Peek().Text + " outside a VT_CLASS class");
            }
            else
            {
                ++Position;
            }
        }
        return Header;
    }

private:
    bool AtEnd() const { return Position >= Tokens.size(); }

    const FToken& Peek(size_t Ahead = 0) const
    {
        if (Position + Ahead >= Tokens.size())
        {
            Fail("unexpected end of file");
        }
        return Tokens[Position + Ahead];
    }

    const FToken& Next()
    {
        const FToken& Token = Peek();
        ++Position;
        return Token;
    }

    void Expect(const char* Symbol)
    {
        if (!Next().Is(Symbol))
        {
            Fail(std::string("expected '") + Symbol + "' but found '" + Tokens[Position - 1].Text + "'");
        }
    }

    std::string ExpectIdentifier()
    {
        const FToken& Token = Next();
        if (Token.Kind != ETokenKind::Identifier)
        {
            Fail("expected a name but found '" + Token.Text + "'");
        }
        return Token.Text;
    }

    [[noreturn]] void Fail(const std::string& Message) const
    {
        const int Line = Tokens.empty() ? 0 : Tokens[std::min(Position, Tokens.size() - 1)].Line;
        throw FParseError(Message, Line);
    }

    /** Reads "(A, Key = "Value", meta = (Key = Value))" after a marker name. */
    FMarkerArguments ParseArguments()
    {
        FMarkerArguments Arguments;
        Expect("(");
        ParseArgumentList(Arguments);
        return Arguments;
    }

    void ParseArgumentList(FMarkerArguments& Arguments)
    {
        while (!Peek().Is(")"))
        {
            const std::string Key = ExpectIdentifier();
            if (Peek().Is("="))
            {
                ++Position;
                if (Peek().Is("("))
                {
                    ++Position;
                    ParseArgumentList(Arguments);
                }
                else
                {
                    Arguments.MetaData.emplace_back(Key, ParseValue());
                }
            }
            else if (IsKnownSpecifier(Key))
            {
                Arguments.Specifiers.push_back(Key);
            }
            else
            {
                Arguments.MetaData.emplace_back(Key, Quote("true"));
            }
            if (Peek().Is(","))
            {
                ++Position;
            }
        }
        Expect(")");
    }

    /**
     * A metadata value as a string literal: literals as written (adjacent ones joined, as the compiler
     * joins them), a name or a signed number quoted.
     */
    std::string ParseValue()
    {
        const FToken& Value = Next();
        if (Value.Kind == ETokenKind::String)
        {
            std::string Literals = Value.Text;
            while (Peek().Kind == ETokenKind::String)
            {
                Literals += " " + Next().Text;
            }
            return Literals;
        }
        if (Value.Is("-") && Peek().Kind == ETokenKind::Number)
        {
            return Quote("-" + Next().Text);
        }
        if (Value.Kind == ETokenKind::Symbol)
        {
            Fail("expected a value but found '" + Value.Text + "'");
        }
        return Quote(Value.Text);
    }

    void ParseClass()
    {
        ++Position;
        FReflectedClass Class;
        Class.Arguments = ParseArguments();
        if (!Next().Is("class"))
        {
            Fail("VT_CLASS must be followed by a class");
        }
        Class.Name = ExpectIdentifier();
        if (Peek().Is("final"))
        {
            ++Position;
        }
        Expect(":");
        if (Peek().Is("public"))
        {
            ++Position;
        }
        Class.SuperName = ExpectIdentifier();
        while (!Peek().Is("{"))
        {
            ++Position;
        }
        ParseClassBody(Class);
        if (!Class.bHasBody)
        {
            Fail("class " + Class.Name + " needs VT_BODY(" + Class.Name + ", " + Class.SuperName + ")");
        }
        Header.Classes.push_back(std::move(Class));
    }

    void ParseClassBody(FReflectedClass& Class)
    {
        Expect("{");
        int Depth = 1;
        while (Depth > 0)
        {
            const FToken& Token = Peek();
            if (Token.Is("{"))
            {
                ++Depth;
            }
            else if (Token.Is("}"))
            {
                --Depth;
            }
            else if (Depth == 1 && (Token.Is("VT_BODY") || Token.Is("VT_BODY_ABSTRACT")))
            {
                ++Position;
                ParseBody(Class);
                continue;
            }
            else if (Depth == 1 && Token.Is("VT_PROPERTY"))
            {
                ++Position;
                FReflectedProperty Property;
                Property.Arguments = ParseArguments();
                Property.Name = ReadDeclaredName({"=", "{", ";"});
                Class.Properties.push_back(std::move(Property));
                continue;
            }
            else if (Depth == 1 && Token.Is("VT_FUNCTION"))
            {
                ++Position;
                FReflectedFunction Function;
                Function.Arguments = ParseArguments();
                Function.Name = ReadDeclaredName({"("});
                Class.Functions.push_back(std::move(Function));
                continue;
            }
            ++Position;
        }
    }

    /** Checks that VT_BODY(Name, Super) names the class and the base it derives from. */
    void ParseBody(FReflectedClass& Class)
    {
        const int Line = Tokens[Position - 1].Line;
        Expect("(");
        const std::string Name = ExpectIdentifier();
        Expect(",");
        const std::string Super = ExpectIdentifier();
        Expect(")");
        if (Name != Class.Name || Super != Class.SuperName)
        {
            throw FParseError("VT_BODY(" + Name + ", " + Super + ") does not match class " + Class.Name +
                                  " : public " + Class.SuperName,
                              Line);
        }
        Class.bHasBody = true;
    }

    /** The identifier right before the first of the given symbols (at bracket depth 0). */
    std::string ReadDeclaredName(std::initializer_list<const char*> Terminators)
    {
        int Angle = 0;
        std::string Last;
        while (true)
        {
            const FToken& Token = Peek();
            if (Token.Is("<"))
            {
                ++Angle;
            }
            else if (Token.Is(">"))
            {
                --Angle;
            }
            else if (Angle == 0 && Token.Is(","))
            {
                Fail("declare one reflected member per declaration");
            }
            else if (Angle == 0 && std::any_of(Terminators.begin(), Terminators.end(),
                                               [&Token](const char* Symbol) { return Token.Is(Symbol); }))
            {
                if (Last.empty())
                {
                    Fail("cannot find the declared name");
                }
                return Last;
            }
            if (Token.Kind == ETokenKind::Identifier)
            {
                Last = Token.Text;
            }
            ++Position;
        }
    }

    void ParseEnum()
    {
        ++Position;
        FReflectedEnum Enum;
        Enum.Arguments = ParseArguments();
        Expect("enum");
        Expect("class");
        Enum.Name = ExpectIdentifier();
        while (!Peek().Is("{"))
        {
            ++Position;
        }
        Expect("{");
        while (!Peek().Is("}"))
        {
            FReflectedEnumEntry Entry;
            Entry.Name = ExpectIdentifier();
            while (!Peek().Is(",") && !Peek().Is("}"))
            {
                if (Next().Is("VT_UMETA"))
                {
                    Entry.Arguments = ParseArguments();
                }
            }
            if (Peek().Is(","))
            {
                ++Position;
            }
            Enum.Entries.push_back(std::move(Entry));
        }
        Header.Enums.push_back(std::move(Enum));
    }

    const std::vector<FToken>& Tokens;
    size_t Position = 0;
    FReflectedHeader Header;
};
} // namespace

FReflectedHeader ParseHeader(const std::vector<FToken>& Tokens)
{
    return FParser(Tokens).Run();
}
} // namespace HeaderTool
