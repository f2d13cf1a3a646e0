#pragma once

#include "Core/Math/Vector.h"
#include "Core/Name/Name.h"

/**
 * How a joint ties two bodies together. Each body carries a joint frame: its origin
 * (Position1 in bone 1's space, Position2 in bone 2's space) and two of its axes; the third
 * is their cross product. Twist turns around the primary axis, swing 1 and swing 2 tilt it
 * towards the other two. Angular limits are degrees of freedom either way from the rest pose.
 */
struct FPhysicsConstraintSetup
{
    FName ConstraintBone1;
    FName ConstraintBone2;

    FVector Position1;
    FVector Position2;
    FVector PrimaryAxis1 = FVector(1.0, 0.0, 0.0);
    FVector SecondaryAxis1 = FVector(0.0, 1.0, 0.0);
    FVector PrimaryAxis2 = FVector(1.0, 0.0, 0.0);
    FVector SecondaryAxis2 = FVector(0.0, 1.0, 0.0);

    /** How far the two frame origins may move apart; 0 locks them together. */
    float LinearLimit = 0.0f;
    float Swing1Limit = 45.0f;
    float Swing2Limit = 45.0f;
    float TwistLimit = 45.0f;

    bool operator==(const FPhysicsConstraintSetup& Other) const = default;
};
