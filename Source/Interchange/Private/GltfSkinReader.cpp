#include "Interchange/Private/GltfSkinReader.h"

#include "Interchange/Private/GltfPrimitiveAttributes.h"
#include "Interchange/Private/InterchangeFailure.h"

namespace
{
constexpr int32 InfluencesPerSet = 4;

/** One JOINTS_n / WEIGHTS_n pair: four joints and weights per vertex. */
struct FInfluenceSet
{
    TArray<uint32> Joints;
    TArray<float> Weights;
};

TArray<FInfluenceSet> ReadSets(const FGltfAccessorReader& Reader, const FGltfVertexBlock& Block)
{
    TArray<FInfluenceSet> Sets;
    for (int32 Set = 0;; ++Set)
    {
        const std::string Suffix = std::to_string(Set);
        const int32 Joints = FindGltfAttribute(Block.Primitive->attributes, "JOINTS_" + Suffix);
        const int32 Weights = FindGltfAttribute(Block.Primitive->attributes, "WEIGHTS_" + Suffix);
        if (Joints == INDEX_NONE || Weights == INDEX_NONE)
        {
            return Sets;
        }
        FInfluenceSet& Read = Sets.Emplace_GetRef();
        Reader.ReadIndices(Joints, InfluencesPerSet, "JOINTS", Read.Joints);
        Reader.ReadFloats(Weights, InfluencesPerSet, "WEIGHTS", Read.Weights);
        CheckGltfAttributeCount("JOINTS", Read.Joints.Num() / InfluencesPerSet, Block.Count);
        CheckGltfAttributeCount("WEIGHTS", Read.Weights.Num() / InfluencesPerSet, Block.Count);
    }
}
} // namespace

bool ReadGltfSkinInfluences(const FGltfAccessorReader& Reader, const FGltfVertexBlock& Block,
                            const TArray<int32>& JointBones, FSourceMesh& Mesh)
{
    const TArray<FInfluenceSet> Sets = ReadSets(Reader, Block);
    if (Sets.IsEmpty())
    {
        return false;
    }
    for (int32 V = 0; V < Block.Count; ++V)
    {
        Mesh.InfluenceStarts[Block.Start + V] = Mesh.Influences.Num();
        for (const FInfluenceSet& Set : Sets)
        {
            for (int32 Slot = V * InfluencesPerSet; Slot < (V + 1) * InfluencesPerSet; ++Slot)
            {
                const float Weight = Set.Weights[Slot];
                if (Weight < 0.0f)
                {
                    FailImport("a skin weight is negative (%g)", Weight);
                }
                const uint32 Joint = Set.Joints[Slot];
                if (Joint >= static_cast<uint32>(JointBones.Num()))
                {
                    FailImport("joint index %u is out of range (the skin has %d joints)", Joint,
                               JointBones.Num());
                }
                if (Weight > 0.0f)
                {
                    Mesh.Influences.Add(FSourceInfluence{JointBones[static_cast<int32>(Joint)], Weight});
                }
            }
        }
        Mesh.InfluenceStarts[Block.Start + V + 1] = Mesh.Influences.Num();
    }
    return true;
}
