#pragma once

#include "Core/Containers/Array.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeBase.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeValue.h"
#include "GeometryCore/DynamicMesh/MeshValidityReport.h"
#include "GeometryCore/Util/AssignGrowing.h"

/** The kind of mesh element an attribute holds one value for. */
enum class EDynamicMeshElement : uint8
{
    Vertex,
    Triangle,
};

/**
 * One value per vertex ID or per triangle ID of the parent mesh. A new element, or one that reuses a
 * freed ID, starts with the value-initialized ValueType.
 */
template <typename ValueType, EDynamicMeshElement ElementKind>
class TDynamicMeshIndexedAttribute : public FDynamicMeshAttributeBase
{
public:
    explicit TDynamicMeshIndexedAttribute(const FDynamicMesh3* Mesh) : FDynamicMeshAttributeBase(Mesh)
    {
        Values.SetNum(MaxParentID());
    }

    const ValueType& GetValue(int32 ID) const
    {
        VT_CHECKF(IsLiveID(ID), "%d is not an element of the mesh", ID);
        return Values[ID];
    }
    void SetValue(int32 ID, const ValueType& Value)
    {
        VT_CHECKF(IsLiveID(ID), "%d is not an element of the mesh", ID);
        Values[ID] = Value;
    }

    void CheckValidity(FMeshValidityReport& Report) const override
    {
        Report.Check(Values.Num() == MaxParentID(), "%s attribute has %d values for %d IDs",
                     ElementKind == EDynamicMeshElement::Vertex ? "vertex" : "triangle", Values.Num(),
                     MaxParentID());
    }

protected:
    void Reserve(int32 NumVertices, int32 NumTriangles) override
    {
        Values.Reserve(ElementKind == EDynamicMeshElement::Vertex ? NumVertices : NumTriangles);
    }
    void OnNewVertex(int32 VertexID) override
    {
        if constexpr (ElementKind == EDynamicMeshElement::Vertex)
        {
            AssignGrowing(Values, VertexID, ValueType{});
        }
    }
    void OnNewTriangle(int32 TriangleID) override
    {
        if constexpr (ElementKind == EDynamicMeshElement::Triangle)
        {
            AssignGrowing(Values, TriangleID, ValueType{});
        }
    }
    /** The new vertex of a split takes the value of the vertex it was split from. */
    void OnSplitVertex(const FVertexSplitInfo& Split) override
    {
        if constexpr (ElementKind == EDynamicMeshElement::Vertex)
        {
            Values[Split.NewVertex] = Values[Split.OriginalVertex];
        }
    }

    /** A new vertex takes the blend of the edge's ends; a new triangle the value of the one it was cut from. */
    void OnSplitEdge(const FEdgeSplitInfo& Split) override
    {
        if constexpr (ElementKind == EDynamicMeshElement::Vertex)
        {
            Values[Split.NewVertex] = LerpDynamicMeshValue(Values[Split.OriginalVertices.A],
                                                           Values[Split.OriginalVertices.B], Split.SplitT);
        }
        else
        {
            for (int32 Side = 0; Side < 2; ++Side)
            {
                if (Split.NewTriangles[Side] != FDynamicMesh3::InvalidID)
                {
                    Values[Split.NewTriangles[Side]] = Values[Split.OriginalTriangles[Side]];
                }
            }
        }
    }
    /** The kept vertex takes the blend of the two. */
    void OnCollapseEdge(const FEdgeCollapseInfo& Collapse) override
    {
        if constexpr (ElementKind == EDynamicMeshElement::Vertex)
        {
            Values[Collapse.KeptVertex] = LerpDynamicMeshValue(Values[Collapse.KeptVertex],
                                                               Values[Collapse.RemovedVertex], Collapse.CollapseT);
        }
    }

private:
    bool IsLiveID(int32 ID) const
    {
        return ElementKind == EDynamicMeshElement::Vertex ? GetParentMesh()->IsVertex(ID)
                                                          : GetParentMesh()->IsTriangle(ID);
    }
    int32 MaxParentID() const
    {
        return ElementKind == EDynamicMeshElement::Vertex ? GetParentMesh()->MaxVertexID()
                                                          : GetParentMesh()->MaxTriangleID();
    }

    TArray<ValueType> Values;
};
