#pragma once

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/Util/AssignGrowing.h"

/**
 * Hands out the elements of one overlay per vertex: corners of one vertex with equal values share an
 * element, so an overlay has seams exactly where its own values split.
 *
 * Corners usually come from shared sources (a vertex instance used by every triangle around a smooth
 * vertex). A corner that names its source gets the element that source got the first time, without
 * comparing values again; the result is the same, since a source has one value and one vertex.
 */
template <typename OverlayType>
class TOverlayWelder
{
public:
    /**
     * NumVertices, NumElements and NumSources size the welder and the overlay for the vertices, elements and
     * corner sources the mesh is expected to have; more vertices and elements may follow.
     */
    explicit TOverlayWelder(OverlayType* InOverlay = nullptr, int32 NumVertices = 0, int32 NumElements = 0,
                            int32 NumSources = 0)
        : Overlay(InOverlay)
    {
        FirstOfVertex.Init(FDynamicMesh3::InvalidID, NumVertices);
        NextOfVertex.Reserve(NumElements);
        ElementOfSource.Init(FDynamicMesh3::InvalidID, NumSources);
        if (Overlay)
        {
            Overlay->ReserveElements(NumElements);
        }
    }

    bool IsActive() const { return Overlay != nullptr; }

    /**
     * Sets the triangle's elements from the value that ValueAtCorner gives for each of its corners. Sources
     * names each corner's source (below NumSources), or InvalidID for a corner whose vertex is not the
     * source's own, which is then welded by value alone.
     */
    template <typename ValueFunction>
    void SetTriangle(int32 Triangle, const FIndex3i& Vertices, const FIndex3i& Sources,
                     ValueFunction ValueAtCorner)
    {
        FIndex3i Elements;
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            const int32 Source = Sources[Corner];
            if (Source == FDynamicMesh3::InvalidID)
            {
                Elements[Corner] = Weld(Vertices[Corner], ValueAtCorner(Corner));
                continue;
            }
            int32& Known = ElementOfSource[Source];
            if (Known == FDynamicMesh3::InvalidID)
            {
                Known = Weld(Vertices[Corner], ValueAtCorner(Corner));
            }
            Elements[Corner] = Known;
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
    /** Per corner source the element it was given, or InvalidID before its first corner. */
    TArray<int32> ElementOfSource;
};
