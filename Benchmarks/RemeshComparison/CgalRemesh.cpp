#include "RemeshComparison/CgalRemesh.h"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/remesh.h>
#include <CGAL/Surface_mesh.h>

#include <chrono>
#include <vector>

namespace
{
using FKernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using FSurfaceMesh = CGAL::Surface_mesh<FKernel::Point_3>;
using FVertexIndex = FSurfaceMesh::Vertex_index;
using FFaceIndex = FSurfaceMesh::Face_index;
namespace PMP = CGAL::Polygon_mesh_processing;

/** The region's faces of the remeshed CGAL mesh as a dynamic mesh. */
FDynamicMesh3 ReadRegion(const FSurfaceMesh& Surface, const FSurfaceMesh::Property_map<FFaceIndex, bool>& Outside)
{
    FDynamicMesh3 Region;
    std::vector<int32> NewVertex(Surface.num_vertices() + Surface.number_of_removed_vertices(), -1);
    for (const FFaceIndex Face : Surface.faces())
    {
        if (Outside[Face])
        {
            continue;
        }
        FIndex3i Tri;
        int32 Corner = 0;
        for (const FVertexIndex Vertex : CGAL::vertices_around_face(Surface.halfedge(Face), Surface))
        {
            int32& Mapped = NewVertex[Vertex.idx()];
            if (Mapped < 0)
            {
                const FKernel::Point_3& Point = Surface.point(Vertex);
                Mapped = Region.AppendVertex(FVector(Point.x(), Point.y(), Point.z()));
            }
            Tri[Corner++] = Mapped;
        }
        Region.AppendTriangle(Tri);
    }
    return Region;
}
} // namespace

FCgalRemeshResult RemeshWithCgal(const FDynamicMesh3& Mesh, const TArray<int32>& Region,
                                 const TArray<int32>& ProtectedEdges, double TargetEdgeLength, int32 Passes)
{
    FSurfaceMesh Surface;
    std::vector<FVertexIndex> Vertices(Mesh.MaxVertexID());
    for (const int32 VertexID : Mesh.VertexIndices())
    {
        const FVector Position = Mesh.GetVertex(VertexID);
        Vertices[VertexID] = Surface.add_vertex(FKernel::Point_3(Position.X, Position.Y, Position.Z));
    }
    std::vector<FFaceIndex> Faces(Mesh.MaxTriangleID());
    auto Outside = Surface.add_property_map<FFaceIndex, bool>("f:outside", false).first;
    for (const int32 TriangleID : Mesh.TriangleIndices())
    {
        const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
        Faces[TriangleID] = Surface.add_face(Vertices[Tri.A], Vertices[Tri.B], Vertices[Tri.C]);
        Outside[Faces[TriangleID]] = true;
    }
    std::vector<FFaceIndex> RegionFaces;
    for (const int32 TriangleID : Region)
    {
        RegionFaces.push_back(Faces[TriangleID]);
        Outside[Faces[TriangleID]] = false;
    }
    auto Constrained = Surface.add_property_map<FSurfaceMesh::Edge_index, bool>("e:constrained", false).first;
    for (const int32 EdgeID : ProtectedEdges)
    {
        const FIndex2i Ends = Mesh.GetEdgeV(EdgeID);
        Constrained[Surface.edge(Surface.halfedge(Vertices[Ends.A], Vertices[Ends.B]))] = true;
    }

    const auto Start = std::chrono::steady_clock::now();
    PMP::isotropic_remeshing(RegionFaces, TargetEdgeLength, Surface,
                             CGAL::parameters::number_of_iterations(Passes)
                                 .protect_constraints(true)
                                 .edge_is_constrained_map(Constrained));
    const auto End = std::chrono::steady_clock::now();
    return {ReadRegion(Surface, Outside), std::chrono::duration<double>(End - Start).count()};
}
