#pragma once

#include "Core/Animation/BoneWeight.h"
#include "Core/Containers/JaggedArray.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeBase.h"

#include <span>

/**
 * Skin weights: per vertex a list of bone influences of any length, empty until set. All lists share
 * one pool, so setting a vertex's weights allocates nothing of its own.
 */
class FDynamicMeshVertexSkinWeightsAttribute : public FDynamicMeshAttributeBase
{
public:
    explicit FDynamicMeshVertexSkinWeightsAttribute(const FDynamicMesh3* Mesh);

    std::span<const FBoneWeight> GetValue(int32 VertexID) const;
    void SetValue(int32 VertexID, std::span<const FBoneWeight> Weights);

    void CheckValidity(FMeshValidityReport& Report) const override;

protected:
    void OnNewVertex(int32 VertexID) override;
    void OnRemoveVertex(int32 VertexID) override;
    void OnSplitVertex(const FVertexSplitInfo& Split) override;

private:
    TJaggedArray<FBoneWeight> VertexWeights;
};
