#pragma once

#include "Core/Math/Rotator.h"
#include "Core/Math/Vector.h"
#include "CoreUObject/Reflection/PropertyTraits.h"

namespace VT::Reflection
{
/**
 * Reads three numbers labelled with the given letters ("X=1 Y=2 Z=3", in any order) or
 * given in order ("1, 2, 3", "(1, 2, 3)"). A single unlabelled number sets all three.
 */
bool ParseTriple(const FString& Text, const char (&Labels)[4], double (&OutValues)[3]);
FString ExportTriple(const char (&Labels)[4], const double (&Values)[3]);
} // namespace VT::Reflection

/** How a type of three numbers is written: its name, the letters of its members, and them. */
template <typename T>
struct TTripleLayout;

/** FVector as "X=1.0 Y=2.0 Z=3.0" at full precision. */
template <>
struct TTripleLayout<FVector>
{
    static constexpr const char* Name = "FVector";
    static constexpr const char* Description = "a vector (X=1 Y=2 Z=3)";
    static constexpr char Labels[4] = "XYZ";
    static constexpr double FVector::*Members[3] = {&FVector::X, &FVector::Y, &FVector::Z};
};

/** FRotator as "P=10.0 Y=20.0 R=30.0" (pitch, yaw, roll in degrees). */
template <>
struct TTripleLayout<FRotator>
{
    static constexpr const char* Name = "FRotator";
    static constexpr const char* Description = "a rotator (P=0 Y=90 R=0)";
    static constexpr char Labels[4] = "PYR";
    static constexpr double FRotator::*Members[3] = {&FRotator::Pitch, &FRotator::Yaw, &FRotator::Roll};
};

template <typename T>
requires requires
{
    TTripleLayout<T>::Labels;
}
struct TPropertyTraits<T>
{
    using Layout = TTripleLayout<T>;

    static constexpr EPropertyKind Kind = EPropertyKind::Struct;
    static FString TypeName() { return Layout::Name; }
    static FString Export(const T& Value)
    {
        return VT::Reflection::ExportTriple(
            Layout::Labels,
            {Value.*Layout::Members[0], Value.*Layout::Members[1], Value.*Layout::Members[2]});
    }
    static bool Import(const FString& Text, T& Value, FString& Error)
    {
        double Parsed[3];
        if (!VT::Reflection::ParseTriple(Text, Layout::Labels, Parsed))
        {
            Error = FString::Printf("'%s' is not %s", *Text, Layout::Description);
            return false;
        }
        for (int32 Index = 0; Index < 3; ++Index)
        {
            Value.*Layout::Members[Index] = Parsed[Index];
        }
        return true;
    }
};
