#pragma once

#include "Core/Math/Transform.h"

#include <gtest/gtest.h>

#include <random>

/** Shared helpers of the math tests. */
namespace VT::Math::Test
{
/** Passes when A.Equals(B, Tolerance); on failure prints both values. */
template <typename ValueType>
::testing::AssertionResult AreNear(const ValueType& A, const ValueType& B, double Tolerance = 1e-9)
{
    if (A.Equals(B, Tolerance))
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << *A.ToString() << "\n  differs from\n" << *B.ToString();
}

/** A fixed-seed generator, so every run checks the same values. */
class FRandom
{
public:
    explicit FRandom(unsigned Seed = 20240611) : Engine(Seed) {}

    double Range(double Min, double Max) { return std::uniform_real_distribution<double>(Min, Max)(Engine); }

    /** A transform of any rotation, a translation within 9 of the origin on each axis, and that scale. */
    FTransform Transform(const FVector& Scale)
    {
        const FRotator Angles(Range(-90, 90), Range(-180, 180), Range(-180, 180));
        return FTransform(Angles, FVector(Range(-9, 9), Range(-9, 9), Range(-9, 9)), Scale);
    }

private:
    std::mt19937 Engine;
};
} // namespace VT::Math::Test
