#pragma once

#include "Core/Math/Rotator.h"
#include "Core/Math/Vector.h"
#include "CoreUObject/Object/UObjectGlobals.h"

/**
 * A named attachment point on a bone: a transform relative to the bone, given as location,
 * rotation and scale. Meshes and skeletons both hold lists of sockets.
 */
VT_CLASS()
class USkeletalMeshSocket : public UObject
{
    VT_BODY(USkeletalMeshSocket, UObject)

public:
    VT_PROPERTY(EditAnywhere, Category = "Socket")
    FName SocketName;

    VT_PROPERTY(EditAnywhere, Category = "Socket")
    FName BoneName;

    VT_PROPERTY(EditAnywhere, Category = "Socket")
    FVector RelativeLocation = FVector(0.0, 0.0, 0.0);

    VT_PROPERTY(EditAnywhere, Category = "Socket")
    FRotator RelativeRotation;

    VT_PROPERTY(EditAnywhere, Category = "Socket")
    FVector RelativeScale = FVector(1.0, 1.0, 1.0);

    /** Keeps the socket's bone animated even when the mesh would skip updating it. */
    VT_PROPERTY(EditAnywhere, Category = "Socket")
    bool bForceAlwaysAnimated = true;
};
