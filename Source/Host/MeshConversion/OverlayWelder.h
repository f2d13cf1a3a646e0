#pragma once

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/Util/AssignGrowing.h"

/**
 * Hands out the elements of one overlay per vertex: corners of one vertex with equal values share an
 * element, so an overlay has seams exactly where its own values split.
 */
template <typename OverlayType>
class TOverlayWelder
{
public:
    /**
     * NumVertices and NumElements size the welder and the overlay for the vertices and elements the mesh is
     * expected to have; more may follow.
     */
    explicit TOverlayWelder(OverlayType* InOverlay = nullptr, int32 NumVertices = 0, int32 NumElements = 0)
        : Overlay(InOverlay)
    {
        FirstOfVertex.Init(FDynamicMesh3::InvalidID, NumVertices);
        NextOfVertex.Reserve(NumElements);
        if (Overlay)
        {
            Overlay->ReserveElements(NumElements);
        }
    }

    bool IsActive() const { return Overlay != nullptr; }

    /** Sets the triangle's elements from the value that ValueAtCorner gives for each of its corners. */
    template <typename ValueFunction>
    void SetTriangle(int32 Triangle, const FIndex3i& Vertices, ValueFunction ValueAtCorner)
    {
        FIndex3i Elements;
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            Elements[Corner] = Weld(Vertices[Corner], ValueAtCorner(Corner));
        }
        Overlay->SetTriangle(Triangle, Elements);
    }

private:
    template <typename ValueType>
    int32 Weld(int32 Vertex, const ValueType& Value)
    {
        while (Vertex >= FirstOfVertex.Num())
        {
            FirstOfVertex.Add(FDynamicMesh3::InvalidID);
        }
        for (int32 Element = FirstOfVertex[Vertex]; Element != FDynamicMesh3::InvalidID;
             Element = NextOfVertex[Element])
        {
            if (Overlay->GetElement(Element) == Value)
            {
                return Element;
            }
        }
        const int32 Element = Overlay->AppendElement(Value);
        AssignGrowing(NextOfVertex, Element, FirstOfVertex[Vertex]);
        FirstOfVertex[Vertex] = Element;
        return Element;
    }

    OverlayType* Overlay;
    TArray<int32> FirstOfVertex;
    TArray<int32> NextOfVertex;
};
