#pragma once

#include "Core/Containers/Map.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "Support/MeshBuilders.h"

#include <benchmark/benchmark.h>

/** The benchmarks' skinned grid: UVs, normals, tangents, four influences per vertex and a morph target. */
inline FSkinnedGridOptions GridOptions(int32 Quads)
{
    return {.QuadsX = Quads, .QuadsY = Quads, .NumGroups = 4, .InfluencesPerVertex = 4, .bMorphTarget = true};
}

/** The grid of that size, built once. */
inline const FMeshDescription& GridMesh(int32 Quads)
{
    static TMap<int32, FMeshDescription> Meshes;
    if (!Meshes.Contains(Quads))
    {
        Meshes.Add(Quads, BuildSkinnedGrid(GridOptions(Quads)));
    }
    return Meshes[Quads];
}

/**
 * A skeletal mesh in a package of its own with a slot per group of the grid and LOD 0 a copy of the grid,
 * made once per size and kept: every repetition of a benchmark works on the same asset, whose render data
 * and morph targets are rebuilt in place instead of allocated afresh for a new asset each time.
 */
inline USkeletalMesh* GridAsset(int32 Quads)
{
    static TMap<int32, USkeletalMesh*> Assets;
    if (USkeletalMesh** Made = Assets.Find(Quads))
    {
        return *Made;
    }
    UPackage* Package = CreatePackage(FString::Printf("/Game/Benchmarks/Grid%d", Quads));
    USkeletalMesh* Mesh =
        NewObject<USkeletalMesh>(Package, FName(FString::Printf("Grid%d", Quads)), RF_Public | RF_Standalone);
    Mesh->AddLODInfo();
    for (int32 Group = 0; Group < GridOptions(Quads).NumGroups; ++Group)
    {
        const FName Name(FString::Printf("Slot_%d", Group));
        Mesh->GetMaterials().Add(FSkeletalMaterial(nullptr, Name, Name));
    }
    Mesh->CreateMeshDescription(0, FMeshDescription(GridMesh(Quads)));
    Assets.Add(Quads, Mesh);
    return Mesh;
}

/** The grid of that size as a tool's preview shows it, converted once. */
inline const FDynamicMesh3& GridPreview(int32 Quads)
{
    static TMap<int32, FDynamicMesh3> Previews;
    if (!Previews.Contains(Quads))
    {
        FDynamicMesh3 Preview;
        FMeshDescriptionToDynamicMesh().Convert(GridMesh(Quads), Preview);
        Previews.Add(Quads, std::move(Preview));
    }
    return Previews[Quads];
}

/** The first half of the preview's triangles (the lower half of the grid), as a user would paint them. */
inline TArray<int32> PaintedHalf(const FDynamicMesh3& Preview)
{
    TArray<int32> Selected;
    Selected.Reserve(Preview.MaxTriangleID() / 2);
    for (int32 Triangle = 0; Triangle < Preview.MaxTriangleID() / 2; ++Triangle)
    {
        Selected.Add(Triangle);
    }
    return Selected;
}
