#include "CoreUObject/Misc/PackageName.h"

#include <string_view>

namespace
{
constexpr std::string_view InvalidCharacters = "\\:*?\"<>|',.";

/** What is wrong with one segment of a package name; empty when nothing is. */
FString FindSegmentProblem(const FString& Segment)
{
    if (Segment.IsEmpty())
    {
        return "it has an empty segment";
    }
    for (const char Character : Segment.View())
    {
        if (InvalidCharacters.find(Character) != std::string_view::npos)
        {
            return FString::Printf("it contains the invalid character '%c'", Character);
        }
    }
    if (Segment.StartsWith(" ") || Segment.EndsWith(" "))
    {
        return FString::Printf("the segment '%s' starts or ends with a space", *Segment);
    }
    return FString();
}

/** What is wrong with a long package name; empty when nothing is. */
FString FindPackageNameProblem(const FString& Name)
{
    if (!Name.StartsWith("/"))
    {
        return "it does not start with '/'";
    }
    if (Name.EndsWith("/"))
    {
        return "it ends with '/'";
    }
    TArray<FString> Segments;
    Name.RightChop(1).ParseIntoArray(Segments, "/", false);
    if (Segments.Num() < 2)
    {
        return "it needs a root and a name below it, as in /Game/Name";
    }
    for (const FString& Segment : Segments)
    {
        if (FString Problem = FindSegmentProblem(Segment); !Problem.IsEmpty())
        {
            return Problem;
        }
    }
    return FString();
}

/** The position of the last "/", or INDEX_NONE. */
int32 FindLastSlash(const FString& Name)
{
    return Name.Find("/", ESearchCase::CaseSensitive, ESearchDir::FromEnd);
}
} // namespace

FString FPackageName::GetLongPackagePath(const FString& LongPackageName)
{
    const int32 Slash = FindLastSlash(LongPackageName);
    return Slash == INDEX_NONE ? FString() : LongPackageName.Left(Slash);
}

FString FPackageName::GetShortName(const FString& LongPackageName)
{
    return LongPackageName.Mid(FindLastSlash(LongPackageName) + 1);
}

bool FPackageName::IsValidLongPackageName(const FString& LongPackageName, FString* OutReason)
{
    const FString Problem = FindPackageNameProblem(LongPackageName);
    if (OutReason)
    {
        *OutReason = Problem.IsEmpty() ? FString()
                                       : FString::Printf("'%s' is not a valid package name: %s.",
                                                         *LongPackageName, *Problem);
    }
    return Problem.IsEmpty();
}

FString FPackageName::ObjectPathToPackageName(const FString& ObjectPath)
{
    const int32 Dot = ObjectPath.Find(".");
    return Dot == INDEX_NONE ? ObjectPath : ObjectPath.Left(Dot);
}

FString FPackageName::GetObjectPath(const FString& PackageName, const FString& AssetName)
{
    return PackageName + "." + AssetName;
}
