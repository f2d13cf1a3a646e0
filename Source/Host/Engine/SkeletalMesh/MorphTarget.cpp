#include "Engine/SkeletalMesh/MorphTarget.h"

#include "Engine/SkeletalMesh/ImportedModel.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

bool UMorphTarget::HasDataForLOD(int32 LODIndex) const
{
    return MorphLODModels.IsValidIndex(LODIndex) && !MorphLODModels[LODIndex].Vertices.IsEmpty();
}

bool UMorphTarget::HasAnyLODData() const
{
    return MorphLODModels.ContainsByPredicate([](const FMorphTargetLODData& Data)
                                              { return !Data.Vertices.IsEmpty(); });
}

void UMorphTarget::BuildLODData(int32 LODIndex, const FMeshDescription& Description,
                                const FImportedLODModel& LODModel)
{
    if (MorphLODModels.Num() <= LODIndex)
    {
        MorphLODModels.SetNum(LODIndex + 1);
    }
    FMorphTargetLODData& Data = MorphLODModels[LODIndex];
    Data.Vertices.Reset();
    Data.NumBaseMeshVertices = LODModel.GetNumVertices();

    const FSkeletalMeshAttributesShared Attributes(Description);
    const auto Positions = Attributes.GetVertexMorphPositionDelta(MorphName);
    const auto Normals = Attributes.GetVertexInstanceMorphNormalDelta(MorphName);
    if (!Positions.IsValid())
    {
        return;
    }
    const FVector3f Zero(0.0f, 0.0f, 0.0f);
    for (int32 RenderVertex = 0; RenderVertex < LODModel.GetNumVertices(); ++RenderVertex)
    {
        const FVertexInstanceID Instance(LODModel.RenderVertexInstances[RenderVertex]);
        if (!Description.VertexInstances().IsValid(Instance))
        {
            continue;
        }
        const FVector3f Position = Positions[Description.GetVertexInstanceVertex(Instance)];
        const FVector3f Normal = Normals.IsValid() ? Normals[Instance] : Zero;
        if (Position != Zero || Normal != Zero)
        {
            Data.Vertices.Add(FMorphTargetDelta{Position, Normal, static_cast<uint32>(RenderVertex)});
        }
    }
}
