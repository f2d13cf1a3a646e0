#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/Vector.h"
#include "MeshDescription/MeshAdjacencyRange.h"
#include "MeshDescription/MeshAttributeSet.h"
#include "MeshDescription/MeshElementIDSet.h"
#include "MeshDescription/MeshElementRemappings.h"

#include <array>
#include <span>

/** One triangle for a bulk creation: its polygon group and its three corners, in winding order. */
struct FTriangleCorners
{
    FPolygonGroupID Group;
    std::array<FVertexInstanceID, 3> Corners;
};

/** How many elements of each kind a bulk deletion took out. */
struct FMeshDeletionCounts
{
    int32 Triangles = 0;
    int32 Polygons = 0;
    int32 Edges = 0;
    /** Instances that lost their last triangle; an orphaned vertex's unused instances are not counted. */
    int32 OrphanedVertexInstances = 0;
    int32 VertexInstances = 0;
    int32 Vertices = 0;
};

/**
 * The editable source geometry of a mesh.
 *
 * Six element kinds, each a sparse set of IDs: vertices (positions), vertex instances (a vertex as seen
 * by one or more triangle corners, carrying the corner attributes such as normals and texture
 * coordinates), edges between two vertices, triangles of three vertex instances, polygons (one or more
 * triangles that belong together) and polygon groups (one per material section). IDs stay fixed until
 * Compact renumbers every set densely.
 *
 * Adjacency indexers answer "which elements use this one" (vertex to its instances and edges, instance
 * to triangles, edge to triangles, polygon to triangles, polygon group to polygons). Every edit keeps
 * them current; ResetIndexers drops them and they are rebuilt, in one linear pass, by BuildIndexers or
 * by the next query or edit that needs them.
 *
 * Copies are deep and exact. A moved-from description is empty and has no attributes, not even Position.
 */
class FMeshDescription
{
public:
    /** A new description has the vertex attribute Position and nothing else. */
    FMeshDescription();
    FMeshDescription(const FMeshDescription&) = default;
    FMeshDescription& operator=(const FMeshDescription&) = default;
    FMeshDescription(FMeshDescription&&) noexcept = default;
    FMeshDescription& operator=(FMeshDescription&&) noexcept = default;

    // Element sets.
    const TMeshElementIDSet<FVertexID>& Vertices() const { return VertexIDs; }
    const TMeshElementIDSet<FVertexInstanceID>& VertexInstances() const { return VertexInstanceIDs; }
    const TMeshElementIDSet<FEdgeID>& Edges() const { return EdgeIDs; }
    const TMeshElementIDSet<FTriangleID>& Triangles() const { return TriangleIDs; }
    const TMeshElementIDSet<FPolygonID>& Polygons() const { return PolygonIDs; }
    const TMeshElementIDSet<FPolygonGroupID>& PolygonGroups() const { return PolygonGroupIDs; }

    // Attributes per element kind.
    TMeshAttributesSet<FVertexID>& VertexAttributes() { return VertexAttributeSet; }
    const TMeshAttributesSet<FVertexID>& VertexAttributes() const { return VertexAttributeSet; }
    TMeshAttributesSet<FVertexInstanceID>& VertexInstanceAttributes() { return VertexInstanceAttributeSet; }
    const TMeshAttributesSet<FVertexInstanceID>& VertexInstanceAttributes() const
    {
        return VertexInstanceAttributeSet;
    }
    TMeshAttributesSet<FEdgeID>& EdgeAttributes() { return EdgeAttributeSet; }
    const TMeshAttributesSet<FEdgeID>& EdgeAttributes() const { return EdgeAttributeSet; }
    TMeshAttributesSet<FTriangleID>& TriangleAttributes() { return TriangleAttributeSet; }
    const TMeshAttributesSet<FTriangleID>& TriangleAttributes() const { return TriangleAttributeSet; }
    TMeshAttributesSet<FPolygonID>& PolygonAttributes() { return PolygonAttributeSet; }
    const TMeshAttributesSet<FPolygonID>& PolygonAttributes() const { return PolygonAttributeSet; }
    TMeshAttributesSet<FPolygonGroupID>& PolygonGroupAttributes() { return PolygonGroupAttributeSet; }
    const TMeshAttributesSet<FPolygonGroupID>& PolygonGroupAttributes() const
    {
        return PolygonGroupAttributeSet;
    }

    /** A description without elements that has the same attributes as Other (names, types, channels). */
    static FMeshDescription CopyWithoutElements(const FMeshDescription& Other);

    /** Sizes the storage for a mesh of this many elements of each kind, so that building it allocates once.
     */
    void Reserve(int32 NumVertices, int32 NumVertexInstances, int32 NumEdges, int32 NumTriangles,
                 int32 NumPolygons, int32 NumPolygonGroups);

    // Creation.
    FVertexID CreateVertex();
    void CreateVertexWithID(FVertexID ID);
    FVertexInstanceID CreateVertexInstance(FVertexID VertexID);
    FPolygonGroupID CreatePolygonGroup();
    void CreatePolygonGroupWithID(FPolygonGroupID ID);
    /** The edge between two vertices, created unless one exists already. */
    FEdgeID CreateEdge(FVertexID VertexID0, FVertexID VertexID1);

    /**
     * Creates a triangle, as a polygon of its own, in a polygon group. Its three corners must be
     * instances of three different vertices. Edges are reused where they exist; those created are
     * appended to OutNewEdges.
     */
    FTriangleID CreateTriangle(FPolygonGroupID GroupID, std::span<const FVertexInstanceID, 3> Corners,
                               TArray<FEdgeID>* OutNewEdges = nullptr);

    /**
     * Creates many triangles at once, each a polygon of its own: the same IDs, edges and attributes as
     * CreateTriangle for each in turn. Edges are found by bucketing the triangles' sides and the existing
     * edges by their smaller vertex, in a few linear passes, without the indexers, which it drops; they
     * are rebuilt when next needed.
     */
    void CreateTriangles(std::span<const FTriangleCorners> Triangles);

    /**
     * Creates a polygon from its contour (three or more instances of different vertices, in winding
     * order) and triangulates it by ear clipping in the plane that best fits it.
     */
    FPolygonID CreatePolygon(FPolygonGroupID GroupID, std::span<const FVertexInstanceID> Contour,
                             TArray<FEdgeID>* OutNewEdges = nullptr);

    // Deletion. Each reports, through the optional lists, what the deletion left without a user.

    /**
     * Deletes a triangle. Reports the edges and vertex instances no triangle uses any more. A polygon
     * left without triangles is deleted too, and a polygon group that thereby lost its last polygon is
     * reported (but kept).
     */
    void DeleteTriangle(FTriangleID TriangleID, TArray<FEdgeID>* OutOrphanedEdges = nullptr,
                        TArray<FVertexInstanceID>* OutOrphanedVertexInstances = nullptr,
                        TArray<FPolygonGroupID>* OutOrphanedPolygonGroups = nullptr);
    /** Deletes a polygon with all its triangles, reporting as DeleteTriangle does. */
    void DeletePolygon(FPolygonID PolygonID, TArray<FEdgeID>* OutOrphanedEdges = nullptr,
                       TArray<FVertexInstanceID>* OutOrphanedVertexInstances = nullptr,
                       TArray<FPolygonGroupID>* OutOrphanedPolygonGroups = nullptr);
    /** Deletes an instance no triangle uses; reports its vertex when that has no instance left. */
    void DeleteVertexInstance(FVertexInstanceID VertexInstanceID,
                              TArray<FVertexID>* OutOrphanedVertices = nullptr);
    /** Deletes an edge no triangle uses; reports each of its vertices that has no edge left. */
    void DeleteEdge(FEdgeID EdgeID, TArray<FVertexID>* OutOrphanedVertices = nullptr);
    /** Deletes an orphaned vertex together with its remaining instances and edges, none of which is used. */
    void DeleteVertex(FVertexID VertexID);
    /** Deletes a polygon group that has no polygon. */
    void DeletePolygonGroup(FPolygonGroupID GroupID);

    /**
     * Deletes many triangles at once with what they leave behind: the same result as DeleteTriangle for
     * each live triangle listed (repeats and other IDs are skipped), then DeleteVertexInstance and
     * DeleteEdge for every instance and edge reported, then DeleteVertex for every vertex those report
     * that IsVertexOrphaned. Polygon groups stay. A few linear passes over the element arrays, without
     * the indexers, which it drops; they are rebuilt when next needed.
     */
    FMeshDeletionCounts DeleteTrianglesAndOrphans(std::span<const FTriangleID> TriangleIDs);

    /** True when no triangle uses any instance of the vertex. */
    bool IsVertexOrphaned(FVertexID VertexID) const;

    /** Moves a polygon, with all its triangles, to another polygon group. */
    void SetPolygonPolygonGroup(FPolygonID PolygonID, FPolygonGroupID GroupID);

    // Connectivity.
    FVertexID GetVertexInstanceVertex(FVertexInstanceID ID) const { return InstanceVertex[ID.GetValue()]; }
    FVertexID GetEdgeVertex(FEdgeID ID, int32 Index) const { return EdgeVertices[ID.GetValue()][Index]; }
    const std::array<FVertexID, 2>& GetEdgeVertices(FEdgeID ID) const { return EdgeVertices[ID.GetValue()]; }
    const std::array<FVertexInstanceID, 3>& GetTriangleVertexInstances(FTriangleID ID) const
    {
        return TriangleData[ID.GetValue()].Corners;
    }
    FVertexInstanceID GetTriangleVertexInstance(FTriangleID ID, int32 Corner) const
    {
        return TriangleData[ID.GetValue()].Corners[Corner];
    }
    std::array<FVertexID, 3> GetTriangleVertices(FTriangleID ID) const;
    const std::array<FEdgeID, 3>& GetTriangleEdges(FTriangleID ID) const
    {
        return TriangleData[ID.GetValue()].Edges;
    }
    FPolygonID GetTrianglePolygon(FTriangleID ID) const { return TriangleData[ID.GetValue()].Polygon; }
    FPolygonGroupID GetTrianglePolygonGroup(FTriangleID ID) const
    {
        return TriangleData[ID.GetValue()].Group;
    }
    FPolygonGroupID GetPolygonPolygonGroup(FPolygonID ID) const
    {
        return PolygonGroupOfPolygon[ID.GetValue()];
    }
    /** The edge between two vertices in either direction, or an invalid ID. */
    FEdgeID GetVertexPairEdge(FVertexID VertexID0, FVertexID VertexID1) const;

    // Adjacency, through the indexers.
    TMeshAdjacencyRange<FVertexInstanceID> GetVertexVertexInstanceIDs(FVertexID ID) const;
    TMeshAdjacencyRange<FEdgeID> GetVertexConnectedEdgeIDs(FVertexID ID) const;
    TMeshAdjacencyRange<FTriangleID> GetVertexInstanceConnectedTriangleIDs(FVertexInstanceID ID) const;
    TMeshAdjacencyRange<FTriangleID> GetEdgeConnectedTriangleIDs(FEdgeID ID) const;
    TMeshAdjacencyRange<FTriangleID> GetPolygonTriangles(FPolygonID ID) const;
    TMeshAdjacencyRange<FPolygonID> GetPolygonGroupPolygonIDs(FPolygonGroupID ID) const;
    /** Every triangle with a corner on the vertex, once each. */
    TArray<FTriangleID> GetVertexConnectedTriangles(FVertexID ID) const;

    /** Drops the adjacency indexers; they are rebuilt by BuildIndexers or when next needed. */
    void ResetIndexers();
    /** Rebuilds dropped indexers from the elements, in one pass per indexer. */
    void BuildIndexers() const;
    bool AreIndexersBuilt() const { return bIndexersBuilt; }

    /**
     * Renumbers every element set densely, keeping the order of IDs; attributes follow their elements.
     * Built indexers are rebuilt; dropped ones stay dropped until needed.
     */
    FElementIDRemappings Compact();

    void Empty();
    bool IsEmpty() const;

    /**
     * Checks that every reference names a live element and that the indexers agree with the elements.
     * Appends a line per problem found to OutProblems.
     */
    bool CheckConsistency(TArray<FString>* OutProblems = nullptr) const;

    /** The same live elements, connectivity and attributes (storage of deleted IDs aside). */
    friend bool operator==(const FMeshDescription& A, const FMeshDescription& B);

private:
    struct FTriangleData
    {
        std::array<FVertexInstanceID, 3> Corners;
        std::array<FEdgeID, 3> Edges;
        FPolygonID Polygon;
        FPolygonGroupID Group;

        friend bool operator==(const FTriangleData&, const FTriangleData&) = default;
    };

    void CheckVertex(FVertexID ID) const;
    void CheckContour(std::span<const FVertexInstanceID> Contour) const;
    FTriangleID AddTriangleToPolygon(FPolygonID PolygonID, FPolygonGroupID GroupID,
                                     const std::array<FVertexInstanceID, 3>& Corners,
                                     TArray<FEdgeID>* OutNewEdges);
    FPolygonID AddPolygon(FPolygonGroupID GroupID);
    FEdgeID FindOrCreateEdge(FVertexID VertexID0, FVertexID VertexID1, TArray<FEdgeID>* OutNewEdges);
    /**
     * The edge of every side (its two ends, in creation order), found among the edges or created by the
     * first side that needs it; for CreateTriangles.
     */
    TArray<FEdgeID> FindOrCreateSideEdges(std::span<const std::array<FVertexID, 2>> SideEnds);
    void RemovePolygon(FPolygonID PolygonID, TArray<FPolygonGroupID>* OutOrphanedPolygonGroups);
    void LinkTriangle(int32 Triangle) const;

    template <typename FunctionType>
    void ForEachAttributeSet(FunctionType&& Function)
    {
        Function(VertexAttributeSet);
        Function(VertexInstanceAttributeSet);
        Function(EdgeAttributeSet);
        Function(TriangleAttributeSet);
        Function(PolygonAttributeSet);
        Function(PolygonGroupAttributeSet);
    }

    friend struct FMeshDescriptionTestAccess;

    TMeshElementIDSet<FVertexID> VertexIDs;
    TMeshElementIDSet<FVertexInstanceID> VertexInstanceIDs;
    TMeshElementIDSet<FEdgeID> EdgeIDs;
    TMeshElementIDSet<FTriangleID> TriangleIDs;
    TMeshElementIDSet<FPolygonID> PolygonIDs;
    TMeshElementIDSet<FPolygonGroupID> PolygonGroupIDs;

    TArray<FVertexID> InstanceVertex;
    TArray<std::array<FVertexID, 2>> EdgeVertices;
    TArray<FTriangleData> TriangleData;
    TArray<FPolygonGroupID> PolygonGroupOfPolygon;

    TMeshAttributesSet<FVertexID> VertexAttributeSet;
    TMeshAttributesSet<FVertexInstanceID> VertexInstanceAttributeSet;
    TMeshAttributesSet<FEdgeID> EdgeAttributeSet;
    TMeshAttributesSet<FTriangleID> TriangleAttributeSet;
    TMeshAttributesSet<FPolygonID> PolygonAttributeSet;
    TMeshAttributesSet<FPolygonGroupID> PolygonGroupAttributeSet;

    // The indexers; built lazily, so a const query may build them.
    mutable FLinkedAdjacency VertexToInstances{1};
    mutable FLinkedAdjacency VertexToEdges{2};
    mutable FLinkedAdjacency InstanceToTriangles{3};
    mutable FLinkedAdjacency EdgeToTriangles{3};
    mutable FLinkedAdjacency PolygonToTriangles{1};
    mutable FLinkedAdjacency GroupToPolygons{1};
    mutable bool bIndexersBuilt = true;
};
