#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "RivetCli/Demo/DemoBody.h"

class UAnimSequence;
class UPackage;
class UPhysicsAsset;
class USkeletalMesh;
class USkeleton;

/** How many levels of detail the demo character has; each further one has half the corners. */
inline constexpr int32 DemoCharacterLODCount = 2;

/** The assets of the demo character; all null when it could not be built. */
struct FDemoCharacter
{
    UPackage* Package = nullptr;
    USkeletalMesh* Mesh = nullptr;
    USkeleton* Skeleton = nullptr;
    UPhysicsAsset* PhysicsAsset = nullptr;
    TArray<UAnimSequence*> Animations;
};

/**
 * Builds the sample character, a simple figure about 180 cm tall standing on the origin (Z up,
 * centimetres, facing -Y), into a new package, every asset in that one package as an import makes
 * them: the skeletal mesh named after the package, "<Name>_Skeleton", "<Name>_Physics" and the
 * animation "<Name>_Wave". A taken package name gets a numeric suffix ("_1", "_2", ...); an invalid
 * one builds nothing (the asset tools log why). The mesh has two LODs, each with its own committed
 * description, four material slots, the morph target Smile, the sockets "Hand_R_Weapon" and
 * "Head_Hat" (its skeleton has "Chest_Back"), and its physics asset and skeleton set. The package is
 * left clean and nothing is recorded in the undo history, even inside an open transaction. Tessellation
 * sets how finely LOD 0 is made (the benchmarks build a character of half a million triangles).
 */
FDemoCharacter BuildDemoCharacter(const FString& PackageName, const FDemoTessellation& Tessellation = {});
