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

/** Bounds the slots, then halves them at the median centroid along the longest side of their centroids. */
void FDynamicMeshAABBTree3::BuildNode(int32 NodeIndex, int32 Begin, int32 End)
{
    FVector Min(std::numeric_limits<double>::max());
    FVector Max(-std::numeric_limits<double>::max());
    FVector CentroidMin = Min;
    FVector CentroidMax = Max;
    for (int32 Slot = Begin; Slot < End; ++Slot)
    {
        const FIndex3i Tri = Mesh->GetTriangle(BuildItems[Slot].TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            const FVector Position = Mesh->GetVertex(Tri[Corner]);
            Min = Min.ComponentMin(Position);
            Max = Max.ComponentMax(Position);
        }
        CentroidMin = CentroidMin.ComponentMin(BuildItems[Slot].Centroid);
        CentroidMax = CentroidMax.ComponentMax(BuildItems[Slot].Centroid);
    }
    Nodes[NodeIndex].Min = Min;
    Nodes[NodeIndex].Max = Max;
    if (End - Begin <= LeafSize)
    {
        Nodes[NodeIndex].First = Begin;
        Nodes[NodeIndex].Count = End - Begin;
        return;
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
    Nodes[NodeIndex].First = FirstChild;
    Nodes[NodeIndex].Count = 0;
    BuildNode(FirstChild, Begin, Middle);
    BuildNode(FirstChild + 1, Middle, End);
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
    int32 Stack[128];
    int32 StackSize = 0;
    if (!Nodes.IsEmpty())
    {
        Stack[StackSize++] = 0;
    }
    while (StackSize > 0)
    {
        const FNode& Node = Nodes[Stack[--StackSize]];
        if (DistanceSquaredToNode(Node, Point) >= Best)
        {
            continue;
        }
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
        const double Near = DistanceSquaredToNode(Nodes[Node.First], Point);
        const double Far = DistanceSquaredToNode(Nodes[Node.First + 1], Point);
        const bool bFirstNearer = Near <= Far;
        Stack[StackSize++] = bFirstNearer ? Node.First + 1 : Node.First;
        Stack[StackSize++] = bFirstNearer ? Node.First : Node.First + 1;
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
