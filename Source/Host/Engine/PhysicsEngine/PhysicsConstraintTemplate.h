#pragma once

#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/PhysicsEngine/PhysicsConstraintSetup.h"

/** One joint of a physics asset: the settings every instance of the joint starts from. */
VT_CLASS()
class UPhysicsConstraintTemplate : public UObject
{
    VT_BODY(UPhysicsConstraintTemplate, UObject)

public:
    FPhysicsConstraintSetup DefaultInstance;
};
