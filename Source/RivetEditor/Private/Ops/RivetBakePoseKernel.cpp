#include "RivetEditor/Private/Ops/RivetBakePoseKernel.h"

#include "Core/Misc/Check.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

#include <cmath>

namespace
{
/** Weights, vectors and deltas at or below this count as zero (compared in single precision). */
constexpr float NearZero = 1e-4f;
/** 1 / 65535 in single precision: a raw skin weight times this is its weight. */
constexpr float RawWeightToWeight = 1.0f / 65535.0f;

/** How the bake moved each vertex: its blended rotation and uniform scale, by vertex ID. */
struct FVertexMotion
{
    TArray<FQuat> Rotation;
    TArray<double> Scale;

    bool Contains(FVertexID Vertex) const
    {
        return Vertex.GetValue() >= 0 && Vertex.GetValue() < Rotation.Num();
    }
};

bool IsAboveNearZero(const FVector3f& Vector)
{
    return std::abs(Vector.X) > NearZero || std::abs(Vector.Y) > NearZero || std::abs(Vector.Z) > NearZero;
}

/** The vector turned, then made unit length; a vector too short to have a direction becomes zero. */
FVector3f RotateAndNormalize(const FQuat& Rotation, const FVector3f& Vector)
{
    const FVector Rotated = Rotation.RotateVector(FVector(Vector));
    const double SquaredLength = Rotated.SizeSquared();
    if (SquaredLength == 1.0)
    {
        return FVector3f(Rotated);
    }
    if (SquaredLength >= VT::Math::SmallNumber)
    {
        return FVector3f(Rotated / std::sqrt(SquaredLength));
    }
    return FVector3f::ZeroVector;
}

/** Sums one vertex's influences: position, weight, aligned rotation and scale. */
class FInfluenceBlend
{
public:
    void Add(float Weight, const FTransform& Move, const FVector& Position)
    {
        PositionSum += Move.TransformPosition(Position) * static_cast<double>(Weight);
        WeightSum += Weight;
        FQuat Rotation = Move.GetRotation();
        if (!bHasReference)
        {
            Reference = Rotation;
            bHasReference = true;
        }
        else if ((Rotation | Reference) < 0.0)
        {
            Rotation = -Rotation;
        }
        RotationSum = RotationSum + Rotation * static_cast<double>(Weight);
        ScaleSum += static_cast<double>(Weight) * Move.GetScale3D().X;
    }

    bool HasWeight() const { return WeightSum > NearZero; }
    FVector3f BlendedPosition() const { return FVector3f(PositionSum * (1.0 / WeightSum)); }
    double BlendedScale() const { return ScaleSum / WeightSum; }
    FQuat BlendedRotation() const
    {
        return RotationSum.SizeSquared() > static_cast<double>(NearZero) ? RotationSum.GetNormalized()
                                                                         : FQuat::Identity;
    }

private:
    FVector PositionSum;
    float WeightSum = 0.0f;
    FQuat RotationSum = FQuat(0, 0, 0, 0);
    double ScaleSum = 0.0;
    FQuat Reference;
    bool bHasReference = false;
};

/** Moves every skinned vertex to its skinned position and records its rotation and scale. */
void SkinVertices(FMeshDescription& Mesh, const TArray<FTransform>& BoneMoves, FVertexMotion& OutMotion,
                  FRivetPoseBake& OutBake)
{
    FSkeletalMeshAttributes Attributes(Mesh);
    const auto Positions = Attributes.GetVertexPositions();
    const auto Weights = Attributes.GetVertexSkinWeights();
    const int32 VertexRange = Mesh.Vertices().GetArraySize();
    OutMotion.Rotation.Init(FQuat::Identity, VertexRange);
    OutMotion.Scale.Init(1.0, VertexRange);
    if (!Positions.IsValid() || !Weights.IsValid())
    {
        return;
    }
    for (const FVertexID Vertex : Mesh.Vertices().GetElementIDs())
    {
        const FVector Position(Positions[Vertex]);
        FInfluenceBlend Blend;
        for (const FBoneWeight& Influence : Weights.Get(Vertex))
        {
            const float Weight = static_cast<float>(Influence.RawWeight) * RawWeightToWeight;
            if (Weight > 0.0f && Influence.BoneIndex < BoneMoves.Num())
            {
                Blend.Add(Weight, BoneMoves[Influence.BoneIndex], Position);
            }
        }
        if (!Blend.HasWeight())
        {
            continue;
        }
        const FVector3f Moved = Blend.BlendedPosition();
        if (OutBake.VerticesMoved++ == 0)
        {
            OutBake.SampleBefore = Positions[Vertex];
            OutBake.SampleAfter = Moved;
        }
        Positions[Vertex] = Moved;
        OutMotion.Rotation[Vertex.GetValue()] = Blend.BlendedRotation();
        OutMotion.Scale[Vertex.GetValue()] = Blend.BlendedScale();
    }
}

/** Turns normals and tangents with their vertex and renormalizes them; scale does not apply. */
void RotateNormalsAndTangents(FMeshDescription& Mesh, const FVertexMotion& Motion)
{
    FSkeletalMeshAttributes Attributes(Mesh);
    for (const auto Vectors : {Attributes.GetVertexInstanceNormals(), Attributes.GetVertexInstanceTangents()})
    {
        if (!Vectors.IsValid())
        {
            continue;
        }
        for (const FVertexInstanceID Instance : Mesh.VertexInstances().GetElementIDs())
        {
            const FVertexID Vertex = Mesh.GetVertexInstanceVertex(Instance);
            if (Motion.Contains(Vertex) && IsAboveNearZero(Vectors[Instance]))
            {
                Vectors[Instance] = RotateAndNormalize(Motion.Rotation[Vertex.GetValue()], Vectors[Instance]);
            }
        }
    }
}

/** Turns and scales each morph target's position deltas, and turns its normal deltas; answers the count. */
int32 TransformMorphDeltas(FMeshDescription& Mesh, const FVertexMotion& Motion)
{
    FSkeletalMeshAttributes Attributes(Mesh);
    const TArray<FName> MorphTargets = Attributes.GetMorphTargetNames();
    for (const FName MorphTarget : MorphTargets)
    {
        if (const auto Deltas = Attributes.GetVertexMorphPositionDelta(MorphTarget); Deltas.IsValid())
        {
            for (const FVertexID Vertex : Mesh.Vertices().GetElementIDs())
            {
                if (Motion.Contains(Vertex) && IsAboveNearZero(Deltas[Vertex]))
                {
                    const int32 Index = Vertex.GetValue();
                    Deltas[Vertex] = FVector3f(Motion.Rotation[Index].RotateVector(FVector(Deltas[Vertex])) *
                                               Motion.Scale[Index]);
                }
            }
        }
        if (const auto Deltas = Attributes.GetVertexInstanceMorphNormalDelta(MorphTarget); Deltas.IsValid())
        {
            for (const FVertexInstanceID Instance : Mesh.VertexInstances().GetElementIDs())
            {
                const FVertexID Vertex = Mesh.GetVertexInstanceVertex(Instance);
                if (Motion.Contains(Vertex) && IsAboveNearZero(Deltas[Instance]))
                {
                    Deltas[Instance] =
                        FVector3f(Motion.Rotation[Vertex.GetValue()].RotateVector(FVector(Deltas[Instance])));
                }
            }
        }
    }
    return MorphTargets.Num();
}
} // namespace

TArray<FTransform> ComputeBoneMoves(const TArray<FTransform>& ComponentSpaceReference,
                                    const TArray<FTransform>& ComponentSpacePose)
{
    VT_CHECKF(ComponentSpaceReference.Num() == ComponentSpacePose.Num(),
              "%d reference transforms for %d posed", ComponentSpaceReference.Num(),
              ComponentSpacePose.Num());
    TArray<FTransform> Moves;
    Moves.Reserve(ComponentSpacePose.Num());
    for (int32 Bone = 0; Bone < ComponentSpacePose.Num(); ++Bone)
    {
        Moves.Add(ComponentSpaceReference[Bone].Inverse() * ComponentSpacePose[Bone]);
    }
    return Moves;
}

FRivetPoseBake BakePoseIntoMeshDescription(FMeshDescription& Mesh, const TArray<FTransform>& BoneMoves)
{
    FRivetPoseBake Bake;
    FVertexMotion Motion;
    SkinVertices(Mesh, BoneMoves, Motion, Bake);
    RotateNormalsAndTangents(Mesh, Motion);
    Bake.MorphTargets = TransformMorphDeltas(Mesh, Motion);
    return Bake;
}
