#include "Core/Math/Box.h"
#include "Core/Math/BoxSphereBounds.h"
#include "Host/Core/Math/MathTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Box, GrowsFromInvalidByPoints)
{
    FBox Box;
    EXPECT_FALSE(Box.bIsValid);
    Box += FVector(4, 6, 8);
    // The first point must not be joined with a zero-initialized corner.
    EXPECT_EQ(Box, FBox(FVector(4, 6, 8), FVector(4, 6, 8)));
    Box += FVector(1, 2, 3);
    Box += FVector(2, 3, 4);
    EXPECT_EQ(Box, FBox(FVector(1, 2, 3), FVector(4, 6, 8)));
    EXPECT_EQ(FBox(TArray<FVector>{FVector(4, 6, 8), FVector(1, 2, 3)}), Box);
    EXPECT_EQ(Box + FBox(), Box);
    EXPECT_EQ(FBox() + Box, Box);
    EXPECT_TRUE(Box.IsInside(FVector(4, 2, 3))) << "the faces are inside";
    EXPECT_FALSE(Box.IsInside(FVector(4.01, 2, 3)));
}

TEST(Box, BoxSphereBounds)
{
    const FBoxSphereBounds Bounds(FBox(FVector(-1, -2, -2), FVector(3, 2, 2)));
    EXPECT_EQ(Bounds.Origin, FVector(1, 0, 0));
    EXPECT_EQ(Bounds.BoxExtent, FVector(2, 2, 2));
    EXPECT_DOUBLE_EQ(Bounds.SphereRadius, std::sqrt(12.0));
    EXPECT_EQ(FBoxSphereBounds(FBox()), FBoxSphereBounds());

    // Side by side: the union box's corners are nearer than the far side of either sphere.
    const FBoxSphereBounds Right(FVector(4, 0, 0), FVector(1, 1, 1), std::sqrt(3.0));
    const FBoxSphereBounds Left(FVector(0, 0, 0), FVector(1, 1, 1), std::sqrt(3.0));
    EXPECT_EQ((Left + Right).GetBox(), FBox(FVector(-1, -1, -1), FVector(5, 1, 1)));
    EXPECT_DOUBLE_EQ((Left + Right).SphereRadius, std::sqrt(11.0));
    // A tight sphere in a large box: the sphere around both spheres is the smaller.
    const FBoxSphereBounds Tight(FVector(0, 0, 0), FVector(10, 10, 10), 1);
    EXPECT_DOUBLE_EQ((Tight + Tight).SphereRadius, 1.0);
}
