#include "Interchange/Private/UniqueNameSet.h"
#include "Interchange/Private/ImportedText.h"

#include <cctype>

std::string FUniqueNameSet::Fold(const FString& Name)
{
    std::string Key = Name.ToStdString();
    for (char& Character : Key)
    {
        Character = static_cast<char>(std::tolower(static_cast<unsigned char>(Character)));
    }
    return Key;
}

bool FUniqueNameSet::IsNoneName(const FString& Name)
{
    const std::string Key = Fold(Name);
    return Key.empty() || Key == "none";
}

bool FUniqueNameSet::IsTaken(const FString& Name) const
{
    return Taken.contains(Fold(Name));
}

FString FUniqueNameSet::Take(const FString& Wanted, const FString& Fallback)
{
    const FString Clean = ImportedText::CleanName(Wanted.View());
    const FString& Base = IsNoneName(Clean) ? Fallback : Clean;
    FString Name = Base;
    for (int32 Suffix = 1; IsTaken(Name) || IsNoneName(Name); ++Suffix)
    {
        Name = FString::Printf("%s_%d", *Base, Suffix);
    }
    Taken.insert(Fold(Name));
    return Name;
}
