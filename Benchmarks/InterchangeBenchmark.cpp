// glTF export and import of skinned grids of a quarter, one and four million triangles (four slots, 64
// bones, morph targets with normal deltas), as .glb files.

#include "Core/Containers/Map.h"
#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/Animation/Skeleton.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "Support/BenchmarkTable.h"
#include "Support/MeshBuilders.h"

#include <filesystem>
#include <unistd.h>

namespace
{
/** The grid's influences use bones 0 to 63. */
constexpr int32 NumBones = 64;
constexpr int32 NumSlots = 4;

FSkinnedGridOptions GridOptions(int32 Quads)
{
    return {.QuadsX = Quads,
            .QuadsY = Quads,
            .NumGroups = NumSlots,
            .InfluencesPerVertex = 4,
            .bMorphTarget = true,
            .bMorphNormals = true};
}

/** A chain of bones, one unit apart. */
FReferenceSkeleton MakeChain()
{
    FReferenceSkeleton Bones;
    FReferenceSkeletonModifier Modifier(Bones, nullptr);
    for (int32 Bone = 0; Bone < NumBones; ++Bone)
    {
        Modifier.Add({FName(FString::Printf("Bone_%d", Bone)), Bone - 1},
                     FTransform(FVector(Bone == 0 ? 0.0 : 1.0, 0.0, 0.0)));
    }
    return Bones;
}

/** The grid as LOD 0 of a committed skeletal mesh, built once per size. */
USkeletalMesh& GridAsset(int32 Quads)
{
    static TMap<int32, USkeletalMesh*> Assets;
    if (!Assets.Contains(Quads))
    {
        UPackage* Package = CreatePackage(FString::Printf("/Game/Benchmark/Grid_%d", Quads));
        USkeletalMesh* Mesh = NewObject<USkeletalMesh>(Package, FName(FString::Printf("Grid_%d", Quads)),
                                                       RF_Public | RF_Standalone);
        Mesh->SetRefSkeleton(MakeChain());
        Mesh->CalculateInvRefMatrices();
        for (int32 Slot = 0; Slot < NumSlots; ++Slot)
        {
            const FName SlotName(FString::Printf("Slot_%d", Slot));
            Mesh->GetMaterials().Add(FSkeletalMaterial(nullptr, SlotName, SlotName));
        }
        Mesh->AddLODInfo();
        Mesh->CreateMeshDescription(0, BuildSkinnedGrid(GridOptions(Quads)));
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
        Assets.Add(Quads, Mesh);
    }
    return *Assets[Quads];
}

FString GridFile(int32 Quads)
{
    return FString(
        (std::filesystem::temp_directory_path() /
         ("RivetInterchangeBenchmark_" + std::to_string(getpid()) + "_" + std::to_string(Quads) + ".glb"))
            .string());
}

const FMeshDescription& GridDescription(int32 Quads)
{
    return *GridAsset(Quads).GetMeshDescription(0);
}

void ExportGlb(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    const USkeletalMesh& Mesh = GridAsset(Quads);
    for (auto _ : State)
    {
        const FPeakAllocationReport Peak(State);
        const FInterchangeWriteResult Result = ExportSkeletalMeshToGltf(Mesh, GridFile(Quads));
        if (!Result.bSuccess)
        {
            State.SkipWithError(*Result.Error);
        }
    }
}

void ImportGlb(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    const FString Path = GridFile(Quads);
    if (!ExportSkeletalMeshToGltf(GridAsset(Quads), Path).bSuccess)
    {
        State.SkipWithError("the grid could not be exported");
        return;
    }
    int32 Run = 0;
    for (auto _ : State)
    {
        FPeakAllocationReport Peak(State);
        const FInterchangeResult Result = ImportSkinnedMeshFile(
            Path, {.PackageName = FString::Printf("/Game/Benchmark/Imported_%d_%d", Quads, Run++)});
        if (!Result.bSuccess)
        {
            State.SkipWithError(*Result.Error);
            break;
        }
        State.PauseTiming();
        for (UObject* Object : {static_cast<UObject*>(Result.Package), static_cast<UObject*>(Result.Mesh),
                                static_cast<UObject*>(Result.Skeleton)})
        {
            Object->MarkAsGarbage();
        }
        CollectGarbage();
        State.ResumeTiming();
    }
}
} // namespace

BENCHMARK(ExportGlb)->Apply(GridSizes);
BENCHMARK(ImportGlb)->Apply(GridSizes);

int main(int ArgCount, char** Args)
{
    const int Result = RunBenchmarkTable(ArgCount, Args, GridDescription);
    for (const int32 Quads : {QuarterGrid, LargeGrid, HugeGrid})
    {
        std::error_code Ignored;
        std::filesystem::remove(GridFile(Quads).ToStdString(), Ignored);
    }
    return Result;
}
