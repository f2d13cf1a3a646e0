#include "Engine/SkeletalMesh/SkinnedBounds.h"

#include "MeshDescription/MeshDescription.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

FBox ComputeSkinnedBox(const FMeshDescription& Description, const TArray<FTransform>& ReferencePose,
                       const TArray<FTransform>& Pose)
{
    const int32 NumBones = ReferencePose.Num() < Pose.Num() ? ReferencePose.Num() : Pose.Num();
    TArray<FTransform> Moves;
    Moves.Reserve(NumBones);
    for (int32 Bone = 0; Bone < NumBones; ++Bone)
    {
        Moves.Add(ReferencePose[Bone].Inverse() * Pose[Bone]);
    }
    const FSkeletalMeshAttributesShared Attributes(Description);
    const auto Positions = Attributes.GetVertexPositions();
    const auto Weights = Attributes.GetVertexSkinWeights();
    FBox Box;
    for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
    {
        const FVector Position(Positions[Vertex]);
        FVector Sum = FVector::ZeroVector;
        double WeightSum = 0.0;
        if (Weights.IsValid())
        {
            for (const FBoneWeight& Influence : Weights.Get(Vertex))
            {
                if (Influence.BoneIndex < NumBones && Influence.RawWeight > 0)
                {
                    const double Weight = Influence.GetWeight();
                    Sum += Moves[Influence.BoneIndex].TransformPosition(Position) * Weight;
                    WeightSum += Weight;
                }
            }
        }
        Box += WeightSum > 0.0 ? Sum * (1.0 / WeightSum) : Position;
    }
    return Box;
}
