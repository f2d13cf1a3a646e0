#include "CoreUObject/Reflection/MetaData.h"

#include <cctype>

FString FField::GetDisplayName() const
{
    if (HasMetaData("DisplayName"))
    {
        return GetMetaData("DisplayName");
    }
    return MakeDisplayNameFromCodeName(GetName());
}

FString MakeDisplayNameFromCodeName(const FString& CodeName)
{
    std::string_view Name = CodeName.View();
    if (Name.size() > 1 && Name[0] == 'b' && std::isupper(static_cast<unsigned char>(Name[1])))
    {
        Name.remove_prefix(1);
    }
    FString Result;
    for (size_t Index = 0; Index < Name.size(); ++Index)
    {
        const unsigned char Current = static_cast<unsigned char>(Name[Index]);
        if (Index > 0 && Current != '_')
        {
            const unsigned char Previous = static_cast<unsigned char>(Name[Index - 1]);
            const bool bNextIsLower =
                Index + 1 < Name.size() && std::islower(static_cast<unsigned char>(Name[Index + 1]));
            const bool bWordStart = (std::isupper(Current) && (std::islower(Previous) || bNextIsLower)) ||
                                    (std::isdigit(Current) && !std::isdigit(Previous));
            if (bWordStart && Previous != '_')
            {
                Result += ' ';
            }
        }
        Result += Current == '_' ? ' ' : static_cast<char>(Current);
    }
    return Result.TrimStartAndEnd();
}
