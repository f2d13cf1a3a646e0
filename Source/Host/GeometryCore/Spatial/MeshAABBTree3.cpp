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
    if (!BuildItems.IsEmpty())
    {
        Nodes.AddDefaulted(1);
        BuildNode(0, 0, BuildItems.Num());
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
void FDynamicMeshAABBTree3::BuildNode(int32 NodeIndex, int32 Begin, int32 End)
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
        Nodes[NodeIndex] = {Min, Max, Begin, End - Begin};
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
    BuildNode(FirstChild, Begin, Middle);
    BuildNode(FirstChild + 1, Middle, End);
    const FNode& Left = Nodes[FirstChild];
    const FNode& Right = Nodes[FirstChild + 1];
    Nodes[NodeIndex] = {Left.Min.ComponentMin(Right.Min), Left.Max.ComponentMax(Right.Max), FirstChild, 0};
}

double FDynamicMeshAABBTree3::DistanceSquaredToNode(const FNode& Node, const FVector& Point) const
{
    const FVector Below = Node.Min - Point;
    const FVector Above = Point - Node.Max;
    const FVector Outside = Below.ComponentMax(Above).ComponentMax(FVector::ZeroVector);
    return Outside.SizeSquared();
}

double FDynamicMeshAABBTree3::DistanceSquaredToSlot(int32 Slot, const FVector& Point) const
{
    const FVector* Corners = &SlotCorners[3 * Slot];
    return (ClosestPointOnTriangle(Point, Corners[0], Corners[1], Corners[2]) - Point).SizeSquared();
}

int32 FDynamicMeshAABBTree3::FindNearestTriangle(const FVector& Point, double& OutDistanceSquared,
                                                 double MaxDistance, int32 HintTriangle) const
{
    // Squared, a huge limit becomes infinity, which every distance is below.
    double Best = MaxDistance * MaxDistance;
    int32 BestSlot = -1;
    if (TriangleSlots.IsValidIndex(HintTriangle) && TriangleSlots[HintTriangle] >= 0)
    {
        const double Distance = DistanceSquaredToSlot(TriangleSlots[HintTriangle], Point);
        if (Distance <= Best)
        {
            Best = Distance;
            BestSlot = TriangleSlots[HintTriangle];
        }
    }
    if (BestSlot >= 0 && Best == 0.0)
    {
        // Nothing is nearer than a triangle the point lies on.
        OutDistanceSquared = Best;
        return SlotTriangles[BestSlot];
    }
    // Each node waits on the stack with its distance, measured when its parent was opened.
    struct FPending
    {
        int32 Node;
        double DistanceSquared;
    };
    FPending Stack[128];
    int32 StackSize = 0;
    if (!Nodes.IsEmpty())
    {
        Stack[StackSize++] = {0, DistanceSquaredToNode(Nodes[0], Point)};
    }
    while (StackSize > 0)
    {
        const FPending Pending = Stack[--StackSize];
        if (Pending.DistanceSquared >= Best)
        {
            continue;
        }
        const FNode& Node = Nodes[Pending.Node];
        if (Node.Count > 0)
        {
            for (int32 Slot = Node.First; Slot < Node.First + Node.Count; ++Slot)
            {
                const double Distance = DistanceSquaredToSlot(Slot, Point);
                if (Distance < Best)
                {
                    Best = Distance;
                    BestSlot = Slot;
                }
            }
            continue;
        }
        // The nearer child goes on top of the stack, so it is searched first.
        const FPending First{Node.First, DistanceSquaredToNode(Nodes[Node.First], Point)};
        const FPending Second{Node.First + 1, DistanceSquaredToNode(Nodes[Node.First + 1], Point)};
        const bool bFirstNearer = First.DistanceSquared <= Second.DistanceSquared;
        for (const FPending& Child : {bFirstNearer ? Second : First, bFirstNearer ? First : Second})
        {
            if (Child.DistanceSquared < Best)
            {
                Stack[StackSize++] = Child;
            }
        }
    }
    OutDistanceSquared = Best;
    return BestSlot >= 0 ? SlotTriangles[BestSlot] : -1;
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
