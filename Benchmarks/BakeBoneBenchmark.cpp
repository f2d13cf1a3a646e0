// A root scale-and-turn baked into skinned grids of a quarter, one and four million triangles (four
// influences per vertex on a 64-bone skeleton, one morph target): the geometry kernel alone, and the whole
// operation as the tool calls it (kernel, new reference skeleton, commit of LOD 0).

#include "Core/Math/ForwardKinematics.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetBakeBoneOp.h"
#include "RivetEditor/Private/Ops/RivetBakePoseKernel.h"
#include "Support/BenchmarkTable.h"
#include "Support/GridMeshes.h"

namespace
{
/** The grids' skinning names bones 0 to 63: a root and 63 bones below it, spread along X. */
const FReferenceSkeleton& GridSkeleton()
{
    static const FReferenceSkeleton Bones = []
    {
        FReferenceSkeleton Made;
        FReferenceSkeletonModifier Modifier(Made, nullptr);
        Modifier.Add({FName("Root"), INDEX_NONE}, FTransform::Identity);
        for (int32 Bone = 1; Bone < 64; ++Bone)
        {
            Modifier.Add({FName(FString::Printf("Bone_%d", Bone)), 0},
                         FTransform(FVector(Bone * 10.0, 0.0, 0.0)));
        }
        return Made;
    }();
    return Bones;
}

/** The root scaled by 1.1 and turned by 30 degrees; every other bone follows it. */
TArray<FTransform> RootScaledAndTurned()
{
    TArray<FTransform> LocalPose = GridSkeleton().GetRefBonePose();
    LocalPose[0] =
        FTransform(FQuat(FVector(0, 0, 1), VT::Math::DegreesToRadians(30.0)), FVector(), FVector(1.1));
    TArray<FTransform> Pose;
    VT::Math::FillComponentSpaceTransforms(LocalPose, GridSkeleton().GetParentIndices(), Pose);
    return Pose;
}

/** Bakes into a fresh copy of the grid each time (the copy is not timed). */
void BakePoseKernel(benchmark::State& State)
{
    const FMeshDescription& Grid = GridMesh(static_cast<int32>(State.range(0)));
    TArray<FTransform> ReferencePose;
    VT::Math::FillComponentSpaceTransforms(GridSkeleton().GetRefBonePose(), GridSkeleton().GetParentIndices(),
                                           ReferencePose);
    const TArray<FTransform> Moves = ComputeBoneMoves(ReferencePose, RootScaledAndTurned());
    FMeshDescription Mesh;
    for (auto _ : State)
    {
        State.PauseTiming();
        Mesh = Grid;
        State.ResumeTiming();
        benchmark::DoNotOptimize(BakePoseIntoMeshDescription(Mesh, Moves));
    }
}

/** The whole operation on an asset whose LOD 0 is a fresh copy of the grid each time (not timed). */
void BakeBoneTransformOp(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    USkeletalMesh* Mesh = GridAsset(Quads);
    FRivetBakeBoneParams Params;
    Params.ComponentSpacePose = RootScaledAndTurned();
    Params.BoneNames = {FName("Root")};
    Params.bPostEditChange = true;
    FRivetBakeBoneResult Result;
    for (auto _ : State)
    {
        State.PauseTiming();
        Mesh->CreateMeshDescription(0, FMeshDescription(GridMesh(Quads)));
        Mesh->SetRefSkeleton(GridSkeleton());
        State.ResumeTiming();
        const FPeakAllocationReport Peak(State);
        BakeBoneTransform(Result, Mesh, Params);
        benchmark::DoNotOptimize(Result);
    }
}
} // namespace

BENCHMARK(BakePoseKernel)->Apply(GridSizes);
BENCHMARK(BakeBoneTransformOp)->Apply(GridSizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarkTable(ArgCount, Args, GridMesh);
}
