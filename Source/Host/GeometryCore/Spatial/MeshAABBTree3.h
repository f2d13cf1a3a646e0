#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Vector.h"

#include <limits>

class FDynamicMesh3;

/**
 * A bounding-volume hierarchy of axis-aligned boxes over a dynamic mesh's triangles, built once (the mesh
 * must not change afterwards) for nearest-triangle and nearest-point queries. Leaves hold a few triangles
 * whose corners the tree keeps beside them, so a query reads nothing else.
 */
class FDynamicMeshAABBTree3
{
public:
    static constexpr int32 LeafSize = 4;

    /** A tree over the mesh, built at once unless bAutoBuild is false. */
    explicit FDynamicMeshAABBTree3(const FDynamicMesh3* InMesh, bool bAutoBuild = true);

    void Build();
    const FDynamicMesh3* GetMesh() const { return Mesh; }

    /**
     * The triangle nearest to Point no further than MaxDistance, or InvalidID (-1); OutDistanceSquared is
     * its squared distance. HintTriangle, when a triangle of the mesh, starts the search from its leaf (a
     * triangle near the point makes the search short); a point on it ends the search there.
     */
    int32 FindNearestTriangle(const FVector& Point, double& OutDistanceSquared,
                              double MaxDistance = std::numeric_limits<double>::max(),
                              int32 HintTriangle = -1) const;
    /** The point of the mesh nearest to Point; Point itself when the mesh has no triangles. */
    FVector FindNearestPoint(const FVector& Point, int32 HintTriangle = -1) const;
    /** FindNearestPoint, also giving the triangle it lies on. */
    FVector FindNearestPoint(const FVector& Point, int32 HintTriangle, int32& OutTriangle) const;

private:
    struct FNode
    {
        FVector Min;
        FVector Max;
        /** A leaf's first slot in the triangle order, or an inner node's first child (the second follows). */
        int32 First = 0;
        /** Triangles of a leaf; 0 for an inner node. */
        int32 Count = 0;
        /** The node whose child this is; -1 for the root. */
        int32 Parent = -1;
    };
    /** The best slot found so far and its squared distance. */
    struct FNearest
    {
        double DistanceSquared;
        int32 Slot;
    };

    void BuildNode(int32 NodeIndex, int32 Begin, int32 End, int32 Parent);
    bool SearchAroundSlot(int32 Slot, const FVector& Point, FNearest& InOutNearest) const;
    void SearchLeaf(const FNode& Leaf, const FVector& Point, FNearest& InOutNearest) const;
    /** Every triangle under Root that could beat the best so far, nearest boxes first. */
    void SearchSubtree(int32 Root, const FVector& Point, FNearest& InOutNearest) const;
    static double DistanceSquaredToNode(const FNode& Node, const FVector& Point);
    double DistanceSquaredToSlot(int32 Slot, const FVector& Point) const;
    /** The distance to the box around the slot's triangle, squared: never more than to the triangle. */
    double DistanceSquaredToSlotBounds(int32 Slot, const FVector& Point) const;

    const FDynamicMesh3* Mesh;
    TArray<FNode> Nodes;
    /** Triangle IDs in leaf order, and their corners, three per slot. */
    TArray<int32> SlotTriangles;
    /** Per slot the leaf that holds it. */
    TArray<int32> SlotLeaves;
    TArray<FVector> SlotCorners;
    /** Per triangle ID its slot, for hints. */
    TArray<int32> TriangleSlots;
    struct FBuildItem
    {
        int32 TriangleID = 0;
        FVector Centroid;
    };
    /** The triangles with their centroids, put in leaf order while building. */
    TArray<FBuildItem> BuildItems;
};
