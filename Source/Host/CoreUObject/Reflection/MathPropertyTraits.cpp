#include "CoreUObject/Reflection/MathPropertyTraits.h"

#include "Core/Math/MathText.h"

namespace VT::Reflection
{
bool ParseTriple(const FString& Text, const char (&Labels)[4], double (&OutValues)[3])
{
    FString Body = Text.TrimStartAndEnd();
    if (Body.StartsWith("(") && Body.EndsWith(")"))
    {
        Body = Body.Mid(1, Body.Len() - 2);
    }
    const std::string_view View = Body.View();
    const char Label[3][2] = {{Labels[0], 0}, {Labels[1], 0}, {Labels[2], 0}};
    if (VT::Math::ParseLabeledNumbers(View, {Label[0], Label[1], Label[2]}, OutValues) ||
        VT::Math::ParseNumberList(View, ',', OutValues))
    {
        return true;
    }
    if (VT::Math::ParseNumber(View, OutValues[0]))
    {
        OutValues[1] = OutValues[2] = OutValues[0];
        return true;
    }
    return false;
}

FString ExportTriple(const char (&Labels)[4], const double (&Values)[3])
{
    return FString::Printf("%c=%s %c=%s %c=%s", Labels[0], *FString::SanitizeFloat(Values[0]), Labels[1],
                           *FString::SanitizeFloat(Values[1]), Labels[2], *FString::SanitizeFloat(Values[2]));
}
} // namespace VT::Reflection
