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

/** FVector as "X=1.0 Y=2.0 Z=3.0" at full precision. */
template <>
struct TPropertyTraits<FVector>
{
    static constexpr EPropertyKind Kind = EPropertyKind::Struct;
    static FString TypeName() { return "FVector"; }
    static FString Export(const FVector& Value)
    {
        return VT::Reflection::ExportTriple("XYZ", {Value.X, Value.Y, Value.Z});
    }
    static bool Import(const FString& Text, FVector& Value, FString& Error)
    {
        double Parsed[3];
        if (!VT::Reflection::ParseTriple(Text, "XYZ", Parsed))
        {
            Error = FString::Printf("'%s' is not a vector (X=1 Y=2 Z=3)", *Text);
            return false;
        }
        Value = FVector(Parsed[0], Parsed[1], Parsed[2]);
        return true;
    }
};

/** FRotator as "P=10.0 Y=20.0 R=30.0" (pitch, yaw, roll in degrees). */
template <>
struct TPropertyTraits<FRotator>
{
    static constexpr EPropertyKind Kind = EPropertyKind::Struct;
    static FString TypeName() { return "FRotator"; }
    static FString Export(const FRotator& Value)
    {
        return VT::Reflection::ExportTriple("PYR", {Value.Pitch, Value.Yaw, Value.Roll});
    }
    static bool Import(const FString& Text, FRotator& Value, FString& Error)
    {
        double Parsed[3];
        if (!VT::Reflection::ParseTriple(Text, "PYR", Parsed))
        {
            Error = FString::Printf("'%s' is not a rotator (P=0 Y=90 R=0)", *Text);
            return false;
        }
        Value = FRotator(Parsed[0], Parsed[1], Parsed[2]);
        return true;
    }
};
