#include "RivetCli/Selection/SelectionTerm.h"

#include <charconv>
#include <cmath>

const char* const SelectionTermHelp =
    "Selections apply in order; keywords are read in any case:\n"
    "  all                      every triangle\n"
    "  slot:NAME|INDEX          the triangles drawn with that material slot\n"
    "  bone:NAME[:MINWEIGHT]    the triangles with a corner weighted to the bone (above 0, at least "
    "MINWEIGHT)\n"
    "  box:X0,Y0,Z0,X1,Y1,Z1    the triangles whose centroid is in the box (bounds included), in the host's\n"
    "                           axes and unit: Z up, X to the character's left, -Y its front, centimetres\n"
    "  box@file:X0,...,Z1       the same box in the file's own axes and unit (glTF: Y up, metres; FBX: as\n"
    "                           its header names them), as the program that made the file shows them;\n"
    "                           rivet info names the frame and prints both bounds\n"
    "  tris:LIST                preview triangle IDs and ranges, e.g. 3,7,10-12\n"
    "  island:TRI               the triangles connected to TRI through shared edges\n"
    "  grow, shrink, invert     change the selection so far, as the tool's buttons do\n"
    "  -REGION                  removes the region's triangles instead (-all clears the selection)\n";

namespace
{
constexpr const char* FileBoxKeyword = "box@file";

struct FKeyword
{
    const char* Name;
    ESelectionTermKind Kind;
    /** What the value must be, for the message when it is missing; null for forms without a value. */
    const char* Needs;
};

constexpr FKeyword Keywords[] = {
    {"all", ESelectionTermKind::All, nullptr},
    {"slot", ESelectionTermKind::Slot, "a slot name or index"},
    {"bone", ESelectionTermKind::Bone, "a bone name"},
    {"box", ESelectionTermKind::Box, "six numbers"},
    {FileBoxKeyword, ESelectionTermKind::Box, "six numbers"},
    {"tris", ESelectionTermKind::Triangles, "triangle IDs"},
    {"island", ESelectionTermKind::Island, "a triangle ID"},
    {"grow", ESelectionTermKind::Grow, nullptr},
    {"shrink", ESelectionTermKind::Shrink, nullptr},
    {"invert", ESelectionTermKind::Invert, nullptr},
};

const FKeyword* FindKeyword(const FString& Text)
{
    for (const FKeyword& Keyword : Keywords)
    {
        if (Text.Equals(Keyword.Name, ESearchCase::IgnoreCase))
        {
            return &Keyword;
        }
    }
    return nullptr;
}

bool IsAllDigits(const FString& Text)
{
    if (Text.IsEmpty())
    {
        return false;
    }
    for (const char Character : Text.View())
    {
        if (Character < '0' || Character > '9')
        {
            return false;
        }
    }
    return true;
}

/** A non-negative decimal integer that fits an int32. */
bool ParseIndex(const FString& Text, int32& Out)
{
    const std::string_view View = Text.View();
    const auto [End, Error] = std::from_chars(View.data(), View.data() + View.size(), Out);
    return IsAllDigits(Text) && Error == std::errc() && End == View.data() + View.size();
}

bool ParseNumber(const FString& Text, double& Out, FString& OutWhy)
{
    const FString Trimmed = Text.TrimStartAndEnd();
    const std::string_view View = Trimmed.View();
    const auto [End, Error] = std::from_chars(View.data(), View.data() + View.size(), Out);
    if (View.empty() || End != View.data() + View.size() ||
        (Error != std::errc() && Error != std::errc::result_out_of_range))
    {
        OutWhy = FString::Printf("'%s' is not a number", *Trimmed);
        return false;
    }
    if (Error == std::errc::result_out_of_range || !std::isfinite(Out))
    {
        OutWhy = FString::Printf("'%s' is not a finite number", *Trimmed);
        return false;
    }
    return true;
}

bool ParseSlot(const FString& Value, FSelectionTerm& Term, FString& OutWhy)
{
    if (!IsAllDigits(Value))
    {
        Term.Name = Value;
        return true;
    }
    if (!ParseIndex(Value, Term.SlotIndex))
    {
        OutWhy = FString::Printf("slot index %s is too large", *Value);
        return false;
    }
    return true;
}

/** True when all of Text reads as a floating-point number, finite or not ("0.5", "nan", "1e999"). */
bool ReadsAsNumber(const FString& Text)
{
    const FString Trimmed = Text.TrimStartAndEnd();
    const std::string_view View = Trimmed.View();
    double Ignored = 0.0;
    return !View.empty() &&
           std::from_chars(View.data(), View.data() + View.size(), Ignored).ptr == View.data() + View.size();
}

/**
 * "NAME" or "NAME:MINWEIGHT". Bone names may hold colons themselves ("rig:Hips"), so only a last part
 * that reads as a number is a weight; one that is not finite ("nan", "inf") is refused, not taken as
 * part of the name.
 */
bool ParseBone(const FString& Value, FSelectionTerm& Term, FString& OutWhy)
{
    Term.Name = Value.TrimStartAndEnd();
    const int32 Colon = static_cast<int32>(Value.View().rfind(':'));
    if (Colon != INDEX_NONE && ReadsAsNumber(Value.Mid(Colon + 1)))
    {
        FString Why;
        double Weight = 0.0;
        if (!ParseNumber(Value.Mid(Colon + 1), Weight, Why))
        {
            OutWhy = "minimum weight: " + Why;
            return false;
        }
        Term.Name = Value.Left(Colon).TrimStartAndEnd();
        Term.MinWeight = Weight;
        if (Term.MinWeight < 0.0 || Term.MinWeight > 1.0)
        {
            OutWhy = "minimum weight must be between 0 and 1";
            return false;
        }
    }
    if (Term.Name.IsEmpty())
    {
        OutWhy = "bone needs a bone name";
        return false;
    }
    return true;
}

bool ParseBox(const FString& Value, FSelectionTerm& Term, FString& OutWhy)
{
    TArray<FString> Parts;
    if (Value.ParseIntoArray(Parts, ",", /*bCullEmpty=*/false) != 6)
    {
        OutWhy = "box needs six numbers";
        return false;
    }
    double Numbers[6];
    for (int32 Index = 0; Index < 6; ++Index)
    {
        if (!ParseNumber(Parts[Index], Numbers[Index], OutWhy))
        {
            OutWhy = "box: " + OutWhy;
            return false;
        }
    }
    const FVector Corner0(Numbers[0], Numbers[1], Numbers[2]);
    const FVector Corner1(Numbers[3], Numbers[4], Numbers[5]);
    Term.BoxMin = Corner0.ComponentMin(Corner1);
    Term.BoxMax = Corner0.ComponentMax(Corner1);
    return true;
}

/** One entry of a triangle list: an ID, or an inclusive range A-B with A <= B. */
bool ParseTriangleRange(const FString& Entry, FTriangleIDRange& Out, FString& OutWhy)
{
    FString First = Entry;
    FString Last = Entry;
    Entry.Split("-", &First, &Last);
    if (!ParseIndex(First.TrimStartAndEnd(), Out.First) || !ParseIndex(Last.TrimStartAndEnd(), Out.Last))
    {
        OutWhy = Entry.IsEmpty() ? FString("empty entry in the triangle list")
                                 : FString::Printf("'%s' is not a triangle ID or range", *Entry);
        return false;
    }
    if (Out.First > Out.Last)
    {
        OutWhy = FString::Printf("range %d-%d is reversed", Out.First, Out.Last);
        return false;
    }
    return true;
}

bool ParseTriangleList(const FString& Value, FSelectionTerm& Term, FString& OutWhy)
{
    TArray<FString> Entries;
    Value.ParseIntoArray(Entries, ",", /*bCullEmpty=*/false);
    for (const FString& Entry : Entries)
    {
        FTriangleIDRange Range;
        if (!ParseTriangleRange(Entry.TrimStartAndEnd(), Range, OutWhy))
        {
            return false;
        }
        Term.Triangles.Add(Range);
    }
    return true;
}

bool ParseIsland(const FString& Value, FSelectionTerm& Term, FString& OutWhy)
{
    if (!ParseIndex(Value, Term.Triangle))
    {
        OutWhy = FString::Printf("'%s' is not a triangle ID", *Value);
        return false;
    }
    return true;
}

bool ParseValue(const FString& Value, FSelectionTerm& Term, FString& OutWhy)
{
    switch (Term.Kind)
    {
        case ESelectionTermKind::Slot:
            return ParseSlot(Value, Term, OutWhy);
        case ESelectionTermKind::Bone:
            return ParseBone(Value, Term, OutWhy);
        case ESelectionTermKind::Box:
            return ParseBox(Value, Term, OutWhy);
        case ESelectionTermKind::Triangles:
            return ParseTriangleList(Value, Term, OutWhy);
        case ESelectionTermKind::Island:
            return ParseIsland(Value, Term, OutWhy);
        default:
            return true;
    }
}

/** Checks the form of the term against its keyword, then reads the value. */
bool ParseBody(const FKeyword& Keyword, bool bHasValue, const FString& Value, FSelectionTerm& Term,
               FString& OutWhy)
{
    if (Term.bRemove && IsSelectionModifier(Term.Kind))
    {
        OutWhy = FString::Printf("'%s' cannot be removed: only regions and all take '-'", Keyword.Name);
        return false;
    }
    if (!Keyword.Needs)
    {
        if (bHasValue)
        {
            OutWhy = FString::Printf("'%s' takes no value", Keyword.Name);
        }
        return !bHasValue;
    }
    if (Value.IsEmpty())
    {
        OutWhy = FString::Printf("%s needs %s", Keyword.Name, Keyword.Needs);
        return false;
    }
    return ParseValue(Value, Term, OutWhy);
}
} // namespace

bool IsSelectionModifier(ESelectionTermKind Kind)
{
    return Kind == ESelectionTermKind::Grow || Kind == ESelectionTermKind::Shrink ||
           Kind == ESelectionTermKind::Invert;
}

bool ParseSelectionTerm(const FString& Text, FSelectionTerm& Out, FString& OutError)
{
    FSelectionTerm Term;
    Term.Text = Text.TrimStartAndEnd();
    FString Body = Term.Text;
    if (Body.StartsWith("-"))
    {
        Term.bRemove = true;
        Body = Body.RightChop(1);
    }
    FString KeywordText = Body;
    FString Value;
    const bool bHasValue = Body.Split(":", &KeywordText, &Value);
    const FKeyword* Keyword = FindKeyword(KeywordText.TrimStartAndEnd());
    if (!Keyword)
    {
        OutError =
            FString::Printf("unknown selection '%s' (expected all, slot:, bone:, box:, tris:, island:, "
                            "grow, shrink or invert)",
                            *Term.Text);
        return false;
    }
    Term.Kind = Keyword->Kind;
    Term.bFileCoordinates = std::string_view(Keyword->Name) == FileBoxKeyword;
    FString Why;
    if (!ParseBody(*Keyword, bHasValue, Value.TrimStartAndEnd(), Term, Why))
    {
        OutError = FString::Printf("%s: '%s'", *Why, *Term.Text);
        return false;
    }
    Out = std::move(Term);
    return true;
}
