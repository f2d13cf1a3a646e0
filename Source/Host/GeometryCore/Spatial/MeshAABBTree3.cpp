#include "GeometryCore/Spatial/MeshAABBTree3.h"

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/Spatial/TriangleDistance.h"

#include <algorithm>

FDynamicMeshAABBTree3::FDynamicMeshAABBTree3(const FDynamicMesh3* InMesh, bool bAutoBuild) : Mesh(InMesh)
{
    if (bAutoBuild)
    {
        Build();
    }
}

void FDynamicMeshAABBTree3::Build()
{
    Nodes.Reset();
    BuildItems.Reset();
    BuildItems.Reserve(Mesh->TriangleCount());
    for (const int32 TriangleID : Mesh->TriangleIndices())
    {
        BuildItems.Add({TriangleID, Mesh->GetTriCentroid(TriangleID)});
    }
    SlotLeaves.Init(-1, BuildItems.Num());
    if (!BuildItems.IsEmpty())
    {
        Nodes.AddDefaulted(1);
        BuildNode(0, 0, BuildItems.Num(), -1);
    }
    SlotTriangles.Reset();
    SlotCorners.Reset();
    SlotCorners.Reserve(3 * BuildItems.Num());
    TriangleSlots.Init(-1, Mesh->MaxTriangleID());
    for (const FBuildItem& Item : BuildItems)
    {
        const FIndex3i Tri = Mesh->GetTriangle(Item.TriangleID);
        TriangleSlots[Item.TriangleID] = SlotTriangles.Add(Item.TriangleID);
        SlotCorners.Append({Mesh->GetVertex(Tri.A), Mesh->GetVertex(Tri.B), Mesh->GetVertex(Tri.C)});
    }
    BuildItems.Empty();
}

/**
 * A leaf bounds its triangles' corners; an inner node halves its slots at the median centroid along the
 * longest side of their centroids' box and bounds its two children.
 */
void FDynamicMeshAABBTree3::BuildNode(int32 NodeIndex, int32 Begin, int32 End, int32 Parent)
{
    if (End - Begin <= LeafSize)
    {
        FVector Min(std::numeric_limits<double>::max());
        FVector Max(-std::numeric_limits<double>::max());
        for (int32 Slot = Begin; Slot < End; ++Slot)
        {
            const FIndex3i Tri = Mesh->GetTriangle(BuildItems[Slot].TriangleID);
            for (int32 Corner = 0; Corner < 3; ++Corner)
            {
                const FVector Position = Mesh->GetVertex(Tri[Corner]);
                Min = Min.ComponentMin(Position);
                Max = Max.ComponentMax(Position);
            }
        }
        Nodes[NodeIndex] = {Min, Max, Begin, End - Begin, Parent};
        for (int32 Slot = Begin; Slot < End; ++Slot)
        {
            SlotLeaves[Slot] = NodeIndex;
        }
        return;
    }
    FVector CentroidMin(std::numeric_limits<double>::max());
    FVector CentroidMax(-std::numeric_limits<double>::max());
    for (int32 Slot = Begin; Slot < End; ++Slot)
    {
        CentroidMin = CentroidMin.ComponentMin(BuildItems[Slot].Centroid);
        CentroidMax = CentroidMax.ComponentMax(BuildItems[Slot].Centroid);
    }
    const FVector Extent = CentroidMax - CentroidMin;
    const int32 Axis = Extent.X >= Extent.Y && Extent.X >= Extent.Z ? 0 : (Extent.Y >= Extent.Z ? 1 : 2);
    const auto AxisOf = [Axis](const FBuildItem& Item)
    { return Axis == 0 ? Item.Centroid.X : (Axis == 1 ? Item.Centroid.Y : Item.Centroid.Z); };
    const int32 Middle = Begin + (End - Begin) / 2;
    FBuildItem* Items = BuildItems.GetData();
    std::nth_element(Items + Begin, Items + Middle, Items + End,
                     [&AxisOf](const FBuildItem& Left, const FBuildItem& Right) { return AxisOf(Left) < AxisOf(Right); });
    const int32 FirstChild = Nodes.AddDefaulted(2);
    BuildNode(FirstChild, Begin, Middle, NodeIndex);
    BuildNode(FirstChild + 1, Middle, End, NodeIndex);
    const FNode& Left = Nodes[FirstChild];
    const FNode& Right = Nodes[FirstChild + 1];
    Nodes[NodeIndex] = {Left.Min.ComponentMin(Right.Min), Left.Max.ComponentMax(Right.Max), FirstChild, 0, Parent};
}

namespace
{
/** How far the point lies outside the interval along one axis, squared. */
inline double OutsideSquared(double Value, double Min, double Max)
{
    const double Outside = std::max(std::max(Min - Value, Value - Max), 0.0);
    return Outside * Outside;
}
} // namespace

inline double FDynamicMeshAABBTree3::DistanceSquaredToNode(const FNode& Node, const FVector& Point)
{
    return OutsideSquared(Point.X, Node.Min.X, Node.Max.X) + OutsideSquared(Point.Y, Node.Min.Y, Node.Max.Y) +
           OutsideSquared(Point.Z, Node.Min.Z, Node.Max.Z);
}

double FDynamicMeshAABBTree3::DistanceSquaredToSlot(int32 Slot, const FVector& Point) const
{
    // Unchecked: every slot below SlotTriangles.Num() has its three corners.
    const FVector* Corners = SlotCorners.GetData() + 3 * Slot;
    return (ClosestPointOnTriangle(Point, Corners[0], Corners[1], Corners[2]) - Point).SizeSquared();
}

double FDynamicMeshAABBTree3::DistanceSquaredToSlotBounds(int32 Slot, const FVector& Point) const
{
    const FVector* Corners = SlotCorners.GetData() + 3 * Slot;
    const auto Axis = [Corners, &Point](double FVector::* Coordinate)
    {
        const double A = Corners[0].*Coordinate;
        const double B = Corners[1].*Coordinate;
        const double C = Corners[2].*Coordinate;
        return OutsideSquared(Point.*Coordinate, std::min({A, B, C}), std::max({A, B, C}));
    };
    return Axis(&FVector::X) + Axis(&FVector::Y) + Axis(&FVector::Z);
}

/**
 * With a hint, the search starts in the hint's leaf and climbs from there, searching at each level the
 * other child when its box is nearer than the best so far: near the hint, most of those boxes are far.
 */
int32 FDynamicMeshAABBTree3::FindNearestTriangle(const FVector& Point, double& OutDistanceSquared,
                                                 double MaxDistance, int32 HintTriangle) const
{
    // Squared, a huge limit becomes infinity, which every distance is below.
    FNearest Nearest{MaxDistance * MaxDistance, -1};
    const int32 HintSlot = TriangleSlots.IsValidIndex(HintTriangle) ? TriangleSlots[HintTriangle] : -1;
    if (HintSlot < 0)
    {
        SearchSubtree(0, Point, Nearest);
    }
    else if (!SearchAroundSlot(HintSlot, Point, Nearest))
    {
        const FNode* NodeData = Nodes.GetData();
        for (int32 Child = SlotLeaves[HintSlot]; NodeData[Child].Parent >= 0; Child = NodeData[Child].Parent)
        {
            const int32 First = NodeData[NodeData[Child].Parent].First;
            SearchSubtree(Child == First ? First + 1 : First, Point, Nearest);
        }
    }
    OutDistanceSquared = Nearest.DistanceSquared;
    return Nearest.Slot >= 0 ? SlotTriangles[Nearest.Slot] : -1;
}

/** The hint's distance, then its leaf's; true when the point lies on the hint, which nothing beats. */
bool FDynamicMeshAABBTree3::SearchAroundSlot(int32 Slot, const FVector& Point, FNearest& InOutNearest) const
{
    const double Distance = DistanceSquaredToSlot(Slot, Point);
    if (Distance <= InOutNearest.DistanceSquared)
    {
        InOutNearest = {Distance, Slot};
    }
    if (InOutNearest.Slot == Slot && Distance == 0.0)
    {
        return true;
    }
    SearchLeaf(Nodes[SlotLeaves[Slot]], Point, InOutNearest);
    return false;
}

void FDynamicMeshAABBTree3::SearchLeaf(const FNode& Leaf, const FVector& Point, FNearest& InOutNearest) const
{
    for (int32 Slot = Leaf.First; Slot < Leaf.First + Leaf.Count; ++Slot)
    {
        if (DistanceSquaredToSlotBounds(Slot, Point) >= InOutNearest.DistanceSquared)
        {
            continue;
        }
        const double Distance = DistanceSquaredToSlot(Slot, Point);
        if (Distance < InOutNearest.DistanceSquared)
        {
            InOutNearest = {Distance, Slot};
        }
    }
}

void FDynamicMeshAABBTree3::SearchSubtree(int32 Root, const FVector& Point, FNearest& InOutNearest) const
{
    if (Nodes.IsEmpty())
    {
        return;
    }
    // Each node waits on the stack with its distance, measured when its parent was opened.
    struct FPending
    {
        int32 Node;
        double DistanceSquared;
    };
    FPending Stack[128];
    int32 StackSize = 0;
    // Unchecked: the tree's own links stay within its nodes.
    const FNode* NodeData = Nodes.GetData();
    Stack[StackSize++] = {Root, DistanceSquaredToNode(NodeData[Root], Point)};
    while (StackSize > 0)
    {
        const FPending Pending = Stack[--StackSize];
        if (Pending.DistanceSquared >= InOutNearest.DistanceSquared)
        {
            continue;
        }
        const FNode& Node = NodeData[Pending.Node];
        if (Node.Count > 0)
        {
            SearchLeaf(Node, Point, InOutNearest);
            continue;
        }
        // The nearer child goes on top of the stack, so it is searched first.
        const FPending First{Node.First, DistanceSquaredToNode(NodeData[Node.First], Point)};
        const FPending Second{Node.First + 1, DistanceSquaredToNode(NodeData[Node.First + 1], Point)};
        const bool bFirstNearer = First.DistanceSquared <= Second.DistanceSquared;
        const FPending& Nearer = bFirstNearer ? First : Second;
        const FPending& Farther = bFirstNearer ? Second : First;
        if (Farther.DistanceSquared < InOutNearest.DistanceSquared)
        {
            Stack[StackSize++] = Farther;
        }
        if (Nearer.DistanceSquared < InOutNearest.DistanceSquared)
        {
            Stack[StackSize++] = Nearer;
        }
    }
}

FVector FDynamicMeshAABBTree3::FindNearestPoint(const FVector& Point, int32 HintTriangle) const
{
    int32 Triangle = -1;
    return FindNearestPoint(Point, HintTriangle, Triangle);
}

FVector FDynamicMeshAABBTree3::FindNearestPoint(const FVector& Point, int32 HintTriangle, int32& OutTriangle) const
{
    double DistanceSquared = 0.0;
    OutTriangle = FindNearestTriangle(Point, DistanceSquared, std::numeric_limits<double>::max(), HintTriangle);
    if (OutTriangle < 0)
    {
        return Point;
    }
    const FVector* Corners = &SlotCorners[3 * TriangleSlots[OutTriangle]];
    return ClosestPointOnTriangle(Point, Corners[0], Corners[1], Corners[2]);
}
