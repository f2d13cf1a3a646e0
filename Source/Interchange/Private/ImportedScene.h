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
#include "Interchange/Private/AxisConversion.h"
#include "MeshDescription/MeshDescription.h"

/** The surface parameters of a material as a file gives them. */
struct FImportedMaterial
{
    FString Name;
    FVector4f BaseColor = FVector4f(1.0f, 1.0f, 1.0f, 1.0f);
    float Metallic = 0.0f;
    float Roughness = 0.5f;
    bool bTwoSided = false;
};

/** One material slot; a slot without a material draws with none. */
struct FImportedSlot
{
    FName SlotName;
    FName ImportedSlotName;
    bool bHasMaterial = false;
    FImportedMaterial Material;
    /** The file's material the slot's material comes from: slots that give the same one share it. */
    int32 FileMaterial = INDEX_NONE;
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

/**
 * How a glTF file named and ordered what the assets have no place for, so that writing the assets
 * back keeps it: the names of the meshes (one per LOD), of the node that holds LOD 0 and of the skin,
 * and per animation its name in the file and its channels in file order.
 */
struct FImportedGltfLayout
{
    struct FChannel
    {
        FName Bone;
        /** "translation", "rotation" or "scale". */
        FString Path;
    };
    struct FAnimation
    {
        FString Name;
        TArray<FChannel> Channels;
    };

    TArray<FString> MeshNames;
    FString MeshNodeName;
    FString SkinName;
    /** One per imported animation, in the same order. */
    TArray<FAnimation> Animations;
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
    /** The file's own frame: how its axes and unit became the host's. */
    FAxisConversion FileFrame;
    /** Set for glTF files. */
    FImportedGltfLayout GltfLayout;
    /** Notes for the caller about dropped or repaired data. */
    TArray<FString> Warnings;
};
