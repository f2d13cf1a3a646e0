#include "RivetCli/Session/EditScript.h"

#include <filesystem>
#include <sstream>

namespace
{
struct FKeyword
{
    const char* Name;
    EEditStepKind Kind;
    /** The rest of the line is one argument (names with spaces) rather than a list. */
    bool bRestOfLine;
    int32 MinArguments;
    int32 MaxArguments;
};

constexpr FKeyword Keywords[] = {
    {"open", EEditStepKind::Open, false, 1, INT32_MAX},
    {"tool", EEditStepKind::Tool, true, 1, 1},
    {"select", EEditStepKind::Select, false, 1, INT32_MAX},
    {"bone", EEditStepKind::Bone, true, 1, 1},
    {"bone-edit", EEditStepKind::BoneEdit, true, 1, 1},
    {"set", EEditStepKind::Set, true, 1, 1},
    {"press", EEditStepKind::Press, true, 1, 1},
    {"tick", EEditStepKind::Tick, false, 0, 1},
    {"accept", EEditStepKind::Accept, false, 0, 0},
    {"cancel", EEditStepKind::Cancel, false, 0, 0},
    {"undo", EEditStepKind::Undo, false, 0, 0},
    {"redo", EEditStepKind::Redo, false, 0, 0},
};

const FKeyword* FindKeyword(const FString& Word)
{
    for (const FKeyword& Keyword : Keywords)
    {
        if (Word.Equals(Keyword.Name, ESearchCase::IgnoreCase))
        {
            return &Keyword;
        }
    }
    return nullptr;
}

/** Splits at spaces; a word in double quotes may hold spaces. False on an unclosed quote. */
bool SplitWords(const FString& Line, TArray<FString>& OutWords)
{
    const std::string_view Text = Line.View();
    size_t At = 0;
    while (true)
    {
        At = Text.find_first_not_of(" \t", At);
        if (At == std::string_view::npos)
        {
            return true;
        }
        if (Text[At] == '"')
        {
            const size_t Close = Text.find('"', At + 1);
            if (Close == std::string_view::npos)
            {
                return false;
            }
            OutWords.Add(FString(Text.substr(At + 1, Close - At - 1)));
            At = Close + 1;
            continue;
        }
        const size_t End = std::min(Text.find_first_of(" \t", At), Text.size());
        OutWords.Add(FString(Text.substr(At, End - At)));
        At = End;
    }
}

/** What follows the keyword, without surrounding double quotes: a name that may hold spaces. */
FString RestOfLine(const FString& Line)
{
    const std::string_view Text = Line.View();
    const size_t Gap = Text.find_first_of(" \t");
    FString Rest = Gap == std::string_view::npos ? FString() : FString(Text.substr(Gap)).TrimStartAndEnd();
    if (Rest.Len() >= 2 && Rest.StartsWith("\"") && Rest.EndsWith("\""))
    {
        Rest = Rest.Mid(1, Rest.Len() - 2);
    }
    return Rest;
}

FString ResolveBeside(const FString& ScriptPath, const FString& Path)
{
    const std::filesystem::path File(*Path);
    return File.is_absolute() ? Path
                              : FString((std::filesystem::path(*ScriptPath).parent_path() / File).string());
}

bool ParseLine(const FString& Line, const FString& ScriptPath, FEditStep& OutStep, FString& OutError)
{
    TArray<FString> Words;
    if (!SplitWords(Line, Words))
    {
        OutError = "a double quote is not closed";
        return false;
    }
    const FKeyword* Keyword = FindKeyword(Words[0]);
    if (!Keyword)
    {
        OutError = FString::Printf("unknown step '%s' (steps: open, tool, select, bone, bone-edit, set, press, tick, "
                                   "accept, cancel, undo, redo)",
                                   *Words[0]);
        return false;
    }
    OutStep.Kind = Keyword->Kind;
    if (Keyword->bRestOfLine)
    {
        const FString Rest = RestOfLine(Line);
        if (!Rest.IsEmpty())
        {
            OutStep.Arguments.Add(Rest);
        }
    }
    else
    {
        for (int32 Index = 1; Index < Words.Num(); ++Index)
        {
            OutStep.Arguments.Add(Keyword->Kind == EEditStepKind::Open
                                      ? ResolveBeside(ScriptPath, Words[Index])
                                      : Words[Index]);
        }
    }
    const int32 Count = OutStep.Arguments.Num();
    if (Count < Keyword->MinArguments || Count > Keyword->MaxArguments)
    {
        OutError = FString::Printf("'%s' takes %s", Keyword->Name,
                                   Keyword->MaxArguments == 0   ? "no arguments"
                                   : Keyword->MinArguments == 0 ? "at most one argument"
                                                                : "an argument");
        return false;
    }
    return true;
}
} // namespace

bool ParseEditScript(const FString& Text, const FString& ScriptPath, TArray<FEditStep>& OutSteps,
                     FString& OutError)
{
    TArray<FEditStep> Steps;
    std::istringstream Lines(Text.ToStdString());
    std::string Line;
    for (int32 LineNumber = 1; std::getline(Lines, Line); ++LineNumber)
    {
        const FString Trimmed = FString(Line).TrimStartAndEnd();
        if (Trimmed.IsEmpty() || Trimmed.StartsWith("#"))
        {
            continue;
        }
        FEditStep Step;
        Step.Origin = FString::Printf("%s:%d", *ScriptPath, LineNumber);
        FString Error;
        if (!ParseLine(Trimmed, ScriptPath, Step, Error))
        {
            OutError = FString::Printf("%s: %s", *Step.Origin, *Error);
            return false;
        }
        Steps.Add(std::move(Step));
    }
    OutSteps = std::move(Steps);
    return true;
}
