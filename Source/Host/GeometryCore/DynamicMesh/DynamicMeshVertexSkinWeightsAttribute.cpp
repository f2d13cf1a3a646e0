#include "GeometryCore/DynamicMesh/DynamicMeshVertexSkinWeightsAttribute.h"

#include "GeometryCore/DynamicMesh/BoneWeightBlend.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/DynamicMesh/MeshValidityReport.h"

FDynamicMeshVertexSkinWeightsAttribute::FDynamicMeshVertexSkinWeightsAttribute(const FDynamicMesh3* Mesh)
    : FDynamicMeshAttributeBase(Mesh)
{
    VertexWeights.SetNumRows(Mesh->MaxVertexID());
}

std::span<const FBoneWeight> FDynamicMeshVertexSkinWeightsAttribute::GetValue(int32 VertexID) const
{
    VT_CHECKF(GetParentMesh()->IsVertex(VertexID), "%d is not a vertex", VertexID);
    return VertexWeights[VertexID];
}

void FDynamicMeshVertexSkinWeightsAttribute::SetValue(int32 VertexID, std::span<const FBoneWeight> Weights)
{
    VT_CHECKF(GetParentMesh()->IsVertex(VertexID), "%d is not a vertex", VertexID);
    VertexWeights.SetRow(VertexID, Weights);
    MaxInfluences = std::max(MaxInfluences, static_cast<int32>(Weights.size()));
}

/** Sizes, and empty rows for free vertex IDs: a reused ID relies on that to start without influences. */
void FDynamicMeshVertexSkinWeightsAttribute::CheckValidity(FMeshValidityReport& Report) const
{
    const FDynamicMesh3& Mesh = *GetParentMesh();
    if (!Report.Check(VertexWeights.NumRows() == Mesh.MaxVertexID(),
                      "skin weights have %d rows for %d vertex IDs", VertexWeights.NumRows(),
                      Mesh.MaxVertexID()))
    {
        return;
    }
    for (int32 VertexID = 0; VertexID < Mesh.MaxVertexID(); ++VertexID)
    {
        Report.Check(Mesh.IsVertex(VertexID) || VertexWeights[VertexID].empty(),
                     "removed vertex %d keeps %d influences", VertexID,
                     static_cast<int32>(VertexWeights[VertexID].size()));
    }
}

/** The influences per vertex are not known yet: the pool grows as the lists are set. */
void FDynamicMeshVertexSkinWeightsAttribute::Reserve(int32 NumVertices, int32 /*NumTriangles*/)
{
    VertexWeights.Reserve(NumVertices, 0);
}

void FDynamicMeshVertexSkinWeightsAttribute::OnNewVertex(int32 VertexID)
{
    // A reused ID was cleared when its vertex was removed.
    if (VertexID >= VertexWeights.NumRows())
    {
        VertexWeights.SetNumRows(VertexID + 1);
    }
}

void FDynamicMeshVertexSkinWeightsAttribute::OnRemoveVertex(int32 VertexID)
{
    VertexWeights.ClearRow(VertexID);
}

void FDynamicMeshVertexSkinWeightsAttribute::OnSplitVertex(const FVertexSplitInfo& Split)
{
    VertexWeights.SetRow(Split.NewVertex, VertexWeights[Split.OriginalVertex]);
}

void FDynamicMeshVertexSkinWeightsAttribute::SetBlend(int32 VertexID, int32 VertexA, int32 VertexB, double T)
{
    BlendBoneWeights(VertexWeights[VertexA], VertexWeights[VertexB], T, MaxInfluences, BlendScratch);
    VertexWeights.SetRow(VertexID, std::span<const FBoneWeight>(BlendScratch.GetData(), BlendScratch.Num()));
}

void FDynamicMeshVertexSkinWeightsAttribute::OnSplitEdge(const FEdgeSplitInfo& Split)
{
    SetBlend(Split.NewVertex, Split.OriginalVertices.A, Split.OriginalVertices.B, Split.SplitT);
}

void FDynamicMeshVertexSkinWeightsAttribute::OnCollapseEdge(const FEdgeCollapseInfo& Collapse)
{
    if (Collapse.CollapseT != 0.0)
    {
        SetBlend(Collapse.KeptVertex, Collapse.KeptVertex, Collapse.RemovedVertex, Collapse.CollapseT);
    }
    VertexWeights.ClearRow(Collapse.RemovedVertex);
}
