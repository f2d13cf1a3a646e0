#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

class UAnimSequence;
class UPackage;
class UPhysicsAsset;
class USkeletalMesh;
class USkeleton;

/**
 * What an import gives back. On success the package holds every asset made from the file; on
 * failure Error names the file and the problem, and nothing was created or registered.
 */
struct FInterchangeResult
{
    bool bSuccess = false;
    /** "<file>: <problem>" when the import was refused; empty on success. */
    FString Error;
    /** Notes about data the import dropped or repaired (also written to the log as warnings). */
    TArray<FString> Warnings;

    UPackage* Package = nullptr;
    USkeletalMesh* Mesh = nullptr;
    USkeleton* Skeleton = nullptr;
    /** Set when the file carries a physics asset. */
    UPhysicsAsset* PhysicsAsset = nullptr;
    TArray<UAnimSequence*> Animations;
};
