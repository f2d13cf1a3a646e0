#pragma once

#include "Core/CoreTypes.h"

/**
 * The properties of a skeletal mesh that asynchronous asset work (building, compiling) may hold.
 * Accessors wait until the property is released before they hand it out. The values are fixed:
 * tools name a property by its bit.
 */
enum class ESkeletalMeshAsyncProperties : uint64
{
    None = 0,
    RefSkeleton = 1ull << 0,
    Materials = 1ull << 1,
    LODInfo = 1ull << 2,
    ImportedModel = 1ull << 3,
    MorphTargets = 1ull << 4,
    Skeleton = 1ull << 5,
    PhysicsAsset = 1ull << 6,
    MeshOnlySockets = 1ull << 7,
    InverseRefMatrices = 1ull << 8,
    ImportedBounds = 1ull << 9,
    /** The record of the file the mesh was imported from (USkeletalMesh::GetSourceFile). */
    SourceFile = 1ull << 41,
    All = ~0ull,
};

constexpr ESkeletalMeshAsyncProperties operator|(ESkeletalMeshAsyncProperties A,
                                                 ESkeletalMeshAsyncProperties B)
{
    return static_cast<ESkeletalMeshAsyncProperties>(static_cast<uint64>(A) | static_cast<uint64>(B));
}

constexpr ESkeletalMeshAsyncProperties operator&(ESkeletalMeshAsyncProperties A,
                                                 ESkeletalMeshAsyncProperties B)
{
    return static_cast<ESkeletalMeshAsyncProperties>(static_cast<uint64>(A) & static_cast<uint64>(B));
}

/** What a caller is about to do with a guarded property. */
enum class ESkeletalMeshAsyncPropertyLockType : uint8
{
    None = 0,
    ReadOnly = 1,
    WriteOnly = 2,
    ReadWrite = 3,
};
