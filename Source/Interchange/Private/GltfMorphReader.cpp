#include "Interchange/Private/GltfMorphReader.h"

#include "Interchange/Private/GltfPrimitiveAttributes.h"

void ReadGltfMorphDeltas(const FGltfAccessorReader& Reader, const FGltfVertexBlock& Block,
                         const FVertexPlacement& Placement, FSourceMesh& Mesh)
{
    TArray<float> Values;
    for (int32 Target = 0; Target < Block.Morphs.Num(); ++Target)
    {
        const int32 Base = Block.Morphs[Target] * Mesh.NumVertices + Block.Start;
        const auto ReadDeltas = [&](const char* Attribute, TArray<FVector3f>& Out, auto Place)
        {
            const int32 Accessor = FindGltfAttribute(Block.Primitive->targets[Target], Attribute);
            if (Accessor == INDEX_NONE)
            {
                return;
            }
            const FString What = FString("a morph target's ") + Attribute;
            Reader.ReadFloats(Accessor, 3, *What, Values);
            CheckGltfAttributeCount(*(FString("morph target ") + Attribute), Values.Num() / 3, Block.Count);
            for (int32 V = 0; V < Block.Count; ++V)
            {
                Out[Base + V] = Place(FVector(Values[V * 3], Values[V * 3 + 1], Values[V * 3 + 2]));
            }
        };
        ReadDeltas("POSITION", Mesh.MorphPositions,
                   [&](const FVector& Delta) { return Placement.PositionDelta(Delta); });
        ReadDeltas("NORMAL", Mesh.MorphNormals,
                   [&](const FVector& Delta) { return Placement.NormalDelta(Delta); });
    }
}
