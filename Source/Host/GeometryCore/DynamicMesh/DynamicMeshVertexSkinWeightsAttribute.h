#pragma once

#include "Core/Animation/BoneWeight.h"
#include "Core/Containers/JaggedArray.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeBase.h"

#include <algorithm>
#include <span>

/**
 * Skin weights: per vertex a list of bone influences of any length, empty until set. All lists share
 * one pool, so setting a vertex's weights allocates nothing of its own.
 *
 * The mesh's maximum number of influences is the longest list ever set (or a larger maximum given).
 * Vertices that edge edits create or merge blend their ends' influences and keep the heaviest up to it.
 */
class FDynamicMeshVertexSkinWeightsAttribute : public FDynamicMeshAttributeBase
{
public:
    explicit FDynamicMeshVertexSkinWeightsAttribute(const FDynamicMesh3* Mesh);

    std::span<const FBoneWeight> GetValue(int32 VertexID) const;
    void SetValue(int32 VertexID, std::span<const FBoneWeight> Weights);

    int32 GetMaxInfluences() const { return MaxInfluences; }
    /** Raises the maximum; it never drops below the longest list already set. */
    void SetMaxInfluences(int32 Max) { MaxInfluences = std::max(MaxInfluences, Max); }

    void CheckValidity(FMeshValidityReport& Report) const override;

protected:
    void Reserve(int32 NumVertices, int32 NumTriangles) override;
    void OnNewVertex(int32 VertexID) override;
    void OnRemoveVertex(int32 VertexID) override;
    void OnSplitVertex(const FVertexSplitInfo& Split) override;
    void OnSplitEdge(const FEdgeSplitInfo& Split) override;
    void OnCollapseEdge(const FEdgeCollapseInfo& Collapse) override;

private:
    void SetBlend(int32 VertexID, int32 VertexA, int32 VertexB, double T);

    TJaggedArray<FBoneWeight> VertexWeights;
    int32 MaxInfluences = 0;
    TArray<FBoneWeight> BlendScratch;
};
