#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Rotator.h"
#include "Core/Math/Vector4.h"
#include "Engine/Animation/AnimationBoneTrack.h"
#include "Engine/Animation/BoneTranslationRetargetingMode.h"
#include "Engine/Animation/ReferenceSkeleton.h"
#include "Engine/PhysicsEngine/AggregateGeometry.h"
#include "Engine/PhysicsEngine/PhysicsConstraintSetup.h"
#include "Engine/SkeletalMesh/SkeletalLODInfo.h"
#include "MeshDescription/MeshDescription.h"

/** The surface parameters of a material as a file gives them. */
struct FImportedMaterial
{
    FString Name;
    FVector4f BaseColor = FVector4f(1.0f, 1.0f, 1.0f, 1.0f);
    float Metallic = 0.0f;
    float Roughness = 0.5f;
    bool bTwoSided = false;

    bool operator==(const FImportedMaterial&) const = default;
};

/** One material slot; a slot without a material draws with none. */
struct FImportedSlot
{
    FName SlotName;
    FName ImportedSlotName;
    bool bHasMaterial = false;
    FImportedMaterial Material;
    bool bCastShadow = true;
    bool bRecomputeTangents = false;
    bool bHasUVDensities = false;
    float UVDensities[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

struct FImportedLOD
{
    FMeshDescription Description;
    FSkeletalLODInfo Info;
    /** The description holds no normals: the commit computes them. */
    bool bRecomputeNormals = false;
};

struct FImportedSocket
{
    FName SocketName;
    FName BoneName;
    FVector Location = FVector(0.0, 0.0, 0.0);
    FRotator Rotation;
    FVector Scale = FVector(1.0, 1.0, 1.0);
    bool bForceAlwaysAnimated = true;
};

struct FImportedAnimation
{
    FString Name;
    double FrameRate = 30.0;
    int32 NumberOfKeys = 0;
    /** Tracks with NumberOfKeys keys each, named after the bones they move. */
    TArray<FAnimationBoneTrack> Tracks;
};

struct FImportedBody
{
    FName BoneName;
    FKAggregateGeometry Geometry;
};

struct FImportedPhysics
{
    TArray<FImportedBody> Bodies;
    TArray<FPhysicsConstraintSetup> Constraints;
};

/**
 * Everything a file holds, in host space and host units, checked and ready to become assets:
 * building the assets from it cannot fail.
 */
struct FImportedScene
{
    FReferenceSkeleton Skeleton;
    /** One per bone; empty for the default mode everywhere. */
    TArray<EBoneTranslationRetargetingMode> RetargetingModes;
    TArray<FImportedLOD> LODs;
    TArray<FImportedSlot> Slots;
    TArray<FImportedSocket> MeshSockets;
    TArray<FImportedSocket> SkeletonSockets;
    TArray<FImportedAnimation> Animations;
    bool bHasPhysics = false;
    FImportedPhysics Physics;
    /** Notes for the caller about dropped or repaired data. */
    TArray<FString> Warnings;
};
