#pragma once

#include "Core/Name/Name.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/IndexTypes.h"
#include "Support/MeshExpectations.h"

#include <gtest/gtest.h>

#include <ostream>

class FDynamicMeshUVOverlay;

/**
 * A flat grid in the XY plane of QuadsX by QuadsY unit quads, each split into two counter-clockwise
 * triangles along its diagonal from (x, y) to (x + 1, y + 1). Vertex (x, y) has ID y * (QuadsX + 1) + x;
 * quad (x, y) holds triangles 2 * (y * QuadsX + x) and the one after.
 */
FDynamicMesh3 MakeGridMesh(int32 QuadsX, int32 QuadsY);

/** The ID of grid vertex (X, Y) in a grid QuadsX quads wide. */
inline int32 GridVertex(int32 QuadsX, int32 X, int32 Y)
{
    return Y * (QuadsX + 1) + X;
}

/** The IDs a range yields, in order. */
template <typename RangeType>
TArray<int32> Collect(const RangeType& Range)
{
    TArray<int32> IDs;
    for (const int32 ID : Range)
    {
        IDs.Add(ID);
    }
    return IDs;
}

/** Gives the triangles one element per vertex, shared by all of them, valued ValueOf(VertexID). */
template <typename OverlayType, typename ValueFunction>
void SetElementsPerVertex(OverlayType& Overlay, const FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs,
                          const ValueFunction& ValueOf)
{
    TArray<int32> ElementOfVertex;
    ElementOfVertex.Init(FDynamicMesh3::InvalidID, Mesh.MaxVertexID());
    for (const int32 TriangleID : TriangleIDs)
    {
        FIndex3i Elements = Mesh.GetTriangle(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            int32& Element = ElementOfVertex[Elements[Corner]];
            if (Element == FDynamicMesh3::InvalidID)
            {
                Element = Overlay.AppendElement(ValueOf(Elements[Corner]));
            }
            Elements[Corner] = Element;
        }
        Overlay.SetTriangle(TriangleID, Elements);
    }
}

/** Gives every triangle of the mesh one element per vertex, shared by all its triangles, valued Value. */
template <typename OverlayType>
void SetSharedElements(OverlayType& Overlay, const FDynamicMesh3& Mesh,
                       const typename OverlayType::ElementType& Value)
{
    SetElementsPerVertex(Overlay, Mesh, Collect(Mesh.TriangleIndices()), [&Value](int32) { return Value; });
}

/** Gives the triangles one shared UV element per vertex, valued by the vertex's X and Y. */
void SetUVIsland(FDynamicMeshUVOverlay& UVs, const FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs);

/**
 * A grid of MakeGridMesh with every attribute: a UV island for the quads of column 0 and one for the
 * rest, one shared normal (+Z), tangent (+X, bitangent sign 1) and colour per vertex, material IDs (2 on
 * triangle 0, else 0), skin weights in two profiles and a morph target "Smile", which differ per vertex.
 */
FDynamicMesh3 MakeAttributedGridMesh(int32 QuadsX, int32 QuadsY);

/** The vertex's triangles in ascending order. */
TArray<int32> SortedVtxTriangles(const FDynamicMesh3& Mesh, int32 VertexID);

/** Every vertex's raw skin weights in the profile sum to one, within the mesh's maximum of influences. */
testing::AssertionResult HasNormalisedWeights(const FDynamicMesh3& Mesh, FName Profile);

inline void PrintTo(const FIndex3i& Index, std::ostream* Stream)
{
    *Stream << "(" << Index.A << ", " << Index.B << ", " << Index.C << ")";
}

inline void PrintTo(const FIndex2i& Index, std::ostream* Stream)
{
    *Stream << "(" << Index.A << ", " << Index.B << ")";
}
