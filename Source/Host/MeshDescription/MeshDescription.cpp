#include "MeshDescription/MeshDescription.h"

#include "MeshDescription/MeshAttributes.h"
#include "MeshDescription/PolygonTriangulation.h"

FMeshDescription::FMeshDescription()
{
    VertexAttributeSet.RegisterAttribute<FVector3f>(MeshAttribute::Vertex::Position);
}

FMeshDescription FMeshDescription::CopyWithoutElements(const FMeshDescription& Other)
{
    FMeshDescription Copy;
    Copy.VertexAttributeSet.CopyWithoutElements(Other.VertexAttributeSet);
    Copy.VertexInstanceAttributeSet.CopyWithoutElements(Other.VertexInstanceAttributeSet);
    Copy.EdgeAttributeSet.CopyWithoutElements(Other.EdgeAttributeSet);
    Copy.TriangleAttributeSet.CopyWithoutElements(Other.TriangleAttributeSet);
    Copy.PolygonAttributeSet.CopyWithoutElements(Other.PolygonAttributeSet);
    Copy.PolygonGroupAttributeSet.CopyWithoutElements(Other.PolygonGroupAttributeSet);
    return Copy;
}

void FMeshDescription::Reserve(int32 NumVertices, int32 NumVertexInstances, int32 NumEdges,
                               int32 NumTriangles, int32 NumPolygons, int32 NumPolygonGroups)
{
    VertexIDs.Reserve(NumVertices);
    VertexInstanceIDs.Reserve(NumVertexInstances);
    EdgeIDs.Reserve(NumEdges);
    TriangleIDs.Reserve(NumTriangles);
    PolygonIDs.Reserve(NumPolygons);
    PolygonGroupIDs.Reserve(NumPolygonGroups);
    InstanceVertex.Reserve(NumVertexInstances);
    EdgeVertices.Reserve(NumEdges);
    TriangleData.Reserve(NumTriangles);
    PolygonGroupOfPolygon.Reserve(NumPolygons);
    VertexAttributeSet.Reserve(NumVertices);
    VertexInstanceAttributeSet.Reserve(NumVertexInstances);
    EdgeAttributeSet.Reserve(NumEdges);
    TriangleAttributeSet.Reserve(NumTriangles);
    PolygonAttributeSet.Reserve(NumPolygons);
    PolygonGroupAttributeSet.Reserve(NumPolygonGroups);
    if (!bIndexersBuilt)
    {
        return; // dropped indexers are rebuilt at their exact sizes
    }
    VertexToInstances.Reserve(NumVertices, NumVertexInstances);
    VertexToEdges.Reserve(NumVertices, NumEdges);
    InstanceToTriangles.Reserve(NumVertexInstances, NumTriangles);
    EdgeToTriangles.Reserve(NumEdges, NumTriangles);
    PolygonToTriangles.Reserve(NumPolygons, NumTriangles);
    GroupToPolygons.Reserve(NumPolygonGroups, NumPolygons);
}

// Creation ---------------------------------------------------------------------------------------------

FVertexID FMeshDescription::CreateVertex()
{
    const FVertexID ID = VertexIDs.Add();
    VertexAttributeSet.Insert(ID.GetValue());
    return ID;
}

void FMeshDescription::CreateVertexWithID(FVertexID ID)
{
    VertexIDs.Insert(ID);
    VertexAttributeSet.Insert(ID.GetValue());
}

FVertexInstanceID FMeshDescription::CreateVertexInstance(FVertexID VertexID)
{
    CheckVertex(VertexID);
    const FVertexInstanceID ID = VertexInstanceIDs.Add();
    InstanceVertex.SetNum(VertexInstanceIDs.GetArraySize());
    InstanceVertex[ID.GetValue()] = VertexID;
    VertexInstanceAttributeSet.Insert(ID.GetValue());
    if (bIndexersBuilt) // dropped indexers are rebuilt from the elements, this one included
    {
        VertexToInstances.Link(VertexID.GetValue(), ID.GetValue(), 0);
    }
    return ID;
}

FPolygonGroupID FMeshDescription::CreatePolygonGroup()
{
    const FPolygonGroupID ID = PolygonGroupIDs.Add();
    PolygonGroupAttributeSet.Insert(ID.GetValue());
    return ID;
}

void FMeshDescription::CreatePolygonGroupWithID(FPolygonGroupID ID)
{
    PolygonGroupIDs.Insert(ID);
    PolygonGroupAttributeSet.Insert(ID.GetValue());
}

FEdgeID FMeshDescription::CreateEdge(FVertexID VertexID0, FVertexID VertexID1)
{
    CheckVertex(VertexID0);
    CheckVertex(VertexID1);
    VT_CHECKF(VertexID0 != VertexID1, "an edge needs two different vertices (%d)", VertexID0.GetValue());
    return FindOrCreateEdge(VertexID0, VertexID1, nullptr);
}

FEdgeID FMeshDescription::FindOrCreateEdge(FVertexID VertexID0, FVertexID VertexID1,
                                           TArray<FEdgeID>* OutNewEdges)
{
    const FEdgeID Existing = GetVertexPairEdge(VertexID0, VertexID1);
    if (Existing.IsSet())
    {
        return Existing;
    }
    const FEdgeID ID = EdgeIDs.Add();
    EdgeVertices.SetNum(EdgeIDs.GetArraySize());
    EdgeVertices[ID.GetValue()] = {VertexID0, VertexID1};
    EdgeAttributeSet.Insert(ID.GetValue());
    VertexToEdges.Link(VertexID0.GetValue(), ID.GetValue(), 0);
    VertexToEdges.Link(VertexID1.GetValue(), ID.GetValue(), 1);
    if (OutNewEdges)
    {
        OutNewEdges->Add(ID);
    }
    return ID;
}

FPolygonID FMeshDescription::AddPolygon(FPolygonGroupID GroupID)
{
    VT_CHECKF(PolygonGroupIDs.IsValid(GroupID), "polygon group %d does not exist", GroupID.GetValue());
    const FPolygonID ID = PolygonIDs.Add();
    PolygonGroupOfPolygon.SetNum(PolygonIDs.GetArraySize());
    PolygonGroupOfPolygon[ID.GetValue()] = GroupID;
    PolygonAttributeSet.Insert(ID.GetValue());
    GroupToPolygons.Link(GroupID.GetValue(), ID.GetValue(), 0);
    return ID;
}

FTriangleID FMeshDescription::AddTriangleToPolygon(FPolygonID PolygonID, FPolygonGroupID GroupID,
                                                   const std::array<FVertexInstanceID, 3>& Corners,
                                                   TArray<FEdgeID>* OutNewEdges)
{
    const FTriangleID ID = TriangleIDs.Add();
    TriangleData.SetNum(TriangleIDs.GetArraySize());
    FTriangleData& Triangle = TriangleData[ID.GetValue()];
    Triangle.Corners = Corners;
    Triangle.Polygon = PolygonID;
    Triangle.Group = GroupID;
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        Triangle.Edges[Corner] =
            FindOrCreateEdge(GetVertexInstanceVertex(Corners[Corner]),
                             GetVertexInstanceVertex(Corners[(Corner + 1) % 3]), OutNewEdges);
    }
    TriangleAttributeSet.Insert(ID.GetValue());
    LinkTriangle(ID.GetValue());
    return ID;
}

void FMeshDescription::LinkTriangle(int32 Triangle) const
{
    const FTriangleData& Data = TriangleData[Triangle];
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        InstanceToTriangles.Link(Data.Corners[Corner].GetValue(), Triangle, Corner);
        EdgeToTriangles.Link(Data.Edges[Corner].GetValue(), Triangle, Corner);
    }
    PolygonToTriangles.Link(Data.Polygon.GetValue(), Triangle, 0);
}

FTriangleID FMeshDescription::CreateTriangle(FPolygonGroupID GroupID,
                                             std::span<const FVertexInstanceID, 3> Corners,
                                             TArray<FEdgeID>* OutNewEdges)
{
    const FPolygonID Polygon = CreatePolygon(GroupID, Corners, OutNewEdges);
    return *GetPolygonTriangles(Polygon).begin();
}

FPolygonID FMeshDescription::CreatePolygon(FPolygonGroupID GroupID,
                                           std::span<const FVertexInstanceID> Contour,
                                           TArray<FEdgeID>* OutNewEdges)
{
    CheckContour(Contour);
    BuildIndexers();
    const FPolygonID Polygon = AddPolygon(GroupID);
    if (Contour.size() == 3)
    {
        AddTriangleToPolygon(Polygon, GroupID, {Contour[0], Contour[1], Contour[2]}, OutNewEdges);
        return Polygon;
    }
    const auto Positions = VertexAttributeSet.GetAttributesRef<FVector3f>(MeshAttribute::Vertex::Position);
    TArray<FVector3f> Points;
    for (const FVertexInstanceID Corner : Contour)
    {
        Points.Add(Positions[GetVertexInstanceVertex(Corner)]);
    }
    for (const std::array<int32, 3>& Triangle : TriangulatePolygon(Points))
    {
        AddTriangleToPolygon(Polygon, GroupID,
                             {Contour[Triangle[0]], Contour[Triangle[1]], Contour[Triangle[2]]}, OutNewEdges);
    }
    return Polygon;
}

void FMeshDescription::CheckContour(std::span<const FVertexInstanceID> Contour) const
{
    VT_CHECKF(Contour.size() >= 3, "a polygon needs at least three corners (%d)",
              static_cast<int32>(Contour.size()));
    for (size_t First = 0; First < Contour.size(); ++First)
    {
        VT_CHECKF(VertexInstanceIDs.IsValid(Contour[First]), "vertex instance %d does not exist",
                  Contour[First].GetValue());
        for (size_t Second = 0; Second < First; ++Second)
        {
            VT_CHECKF(GetVertexInstanceVertex(Contour[First]) != GetVertexInstanceVertex(Contour[Second]),
                      "a polygon uses vertex %d twice", GetVertexInstanceVertex(Contour[First]).GetValue());
        }
    }
}

// Deletion ---------------------------------------------------------------------------------------------

void FMeshDescription::DeleteTriangle(FTriangleID TriangleID, TArray<FEdgeID>* OutOrphanedEdges,
                                      TArray<FVertexInstanceID>* OutOrphanedVertexInstances,
                                      TArray<FPolygonGroupID>* OutOrphanedPolygonGroups)
{
    VT_CHECKF(TriangleIDs.IsValid(TriangleID), "triangle %d does not exist", TriangleID.GetValue());
    BuildIndexers();
    const int32 Triangle = TriangleID.GetValue();
    const FTriangleData Data = TriangleData[Triangle];
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        const int32 Instance = Data.Corners[Corner].GetValue();
        InstanceToTriangles.Unlink(Instance, Triangle, Corner);
        if (OutOrphanedVertexInstances && InstanceToTriangles.IsEmpty(Instance))
        {
            OutOrphanedVertexInstances->Add(Data.Corners[Corner]);
        }
    }
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        const int32 Edge = Data.Edges[Corner].GetValue();
        EdgeToTriangles.Unlink(Edge, Triangle, Corner);
        if (OutOrphanedEdges && EdgeToTriangles.IsEmpty(Edge))
        {
            OutOrphanedEdges->Add(Data.Edges[Corner]);
        }
    }
    PolygonToTriangles.Unlink(Data.Polygon.GetValue(), Triangle, 0);
    TriangleIDs.Remove(TriangleID);
    TriangleAttributeSet.Remove(Triangle);
    if (PolygonToTriangles.IsEmpty(Data.Polygon.GetValue()))
    {
        RemovePolygon(Data.Polygon, OutOrphanedPolygonGroups);
    }
}

void FMeshDescription::RemovePolygon(FPolygonID PolygonID, TArray<FPolygonGroupID>* OutOrphanedPolygonGroups)
{
    const FPolygonGroupID Group = GetPolygonPolygonGroup(PolygonID);
    GroupToPolygons.Unlink(Group.GetValue(), PolygonID.GetValue(), 0);
    PolygonIDs.Remove(PolygonID);
    PolygonAttributeSet.Remove(PolygonID.GetValue());
    if (OutOrphanedPolygonGroups && GroupToPolygons.IsEmpty(Group.GetValue()))
    {
        OutOrphanedPolygonGroups->Add(Group);
    }
}

void FMeshDescription::DeletePolygon(FPolygonID PolygonID, TArray<FEdgeID>* OutOrphanedEdges,
                                     TArray<FVertexInstanceID>* OutOrphanedVertexInstances,
                                     TArray<FPolygonGroupID>* OutOrphanedPolygonGroups)
{
    VT_CHECKF(PolygonIDs.IsValid(PolygonID), "polygon %d does not exist", PolygonID.GetValue());
    for (const FTriangleID Triangle : GetPolygonTriangles(PolygonID).ToArray())
    {
        DeleteTriangle(Triangle, OutOrphanedEdges, OutOrphanedVertexInstances, OutOrphanedPolygonGroups);
    }
}

void FMeshDescription::DeleteVertexInstance(FVertexInstanceID VertexInstanceID,
                                            TArray<FVertexID>* OutOrphanedVertices)
{
    VT_CHECKF(VertexInstanceIDs.IsValid(VertexInstanceID), "vertex instance %d does not exist",
              VertexInstanceID.GetValue());
    BuildIndexers();
    const int32 Instance = VertexInstanceID.GetValue();
    VT_CHECKF(InstanceToTriangles.IsEmpty(Instance), "vertex instance %d is still used by a triangle",
              Instance);
    const FVertexID Vertex = GetVertexInstanceVertex(VertexInstanceID);
    VertexToInstances.Unlink(Vertex.GetValue(), Instance, 0);
    VertexInstanceIDs.Remove(VertexInstanceID);
    VertexInstanceAttributeSet.Remove(Instance);
    if (OutOrphanedVertices && VertexToInstances.IsEmpty(Vertex.GetValue()))
    {
        OutOrphanedVertices->Add(Vertex);
    }
}

void FMeshDescription::DeleteEdge(FEdgeID EdgeID, TArray<FVertexID>* OutOrphanedVertices)
{
    VT_CHECKF(EdgeIDs.IsValid(EdgeID), "edge %d does not exist", EdgeID.GetValue());
    BuildIndexers();
    const int32 Edge = EdgeID.GetValue();
    VT_CHECKF(EdgeToTriangles.IsEmpty(Edge), "edge %d is still used by a triangle", Edge);
    for (int32 End = 0; End < 2; ++End)
    {
        const FVertexID Vertex = EdgeVertices[Edge][End];
        VertexToEdges.Unlink(Vertex.GetValue(), Edge, End);
        if (OutOrphanedVertices && VertexToEdges.IsEmpty(Vertex.GetValue()))
        {
            OutOrphanedVertices->Add(Vertex);
        }
    }
    EdgeIDs.Remove(EdgeID);
    EdgeAttributeSet.Remove(Edge);
}

void FMeshDescription::DeleteVertex(FVertexID VertexID)
{
    CheckVertex(VertexID);
    VT_CHECKF(IsVertexOrphaned(VertexID), "vertex %d is still used by a triangle", VertexID.GetValue());
    for (const FVertexInstanceID Instance : GetVertexVertexInstanceIDs(VertexID).ToArray())
    {
        DeleteVertexInstance(Instance);
    }
    for (const FEdgeID Edge : GetVertexConnectedEdgeIDs(VertexID).ToArray())
    {
        DeleteEdge(Edge);
    }
    VertexIDs.Remove(VertexID);
    VertexAttributeSet.Remove(VertexID.GetValue());
}

void FMeshDescription::DeletePolygonGroup(FPolygonGroupID GroupID)
{
    VT_CHECKF(PolygonGroupIDs.IsValid(GroupID), "polygon group %d does not exist", GroupID.GetValue());
    BuildIndexers();
    VT_CHECKF(GroupToPolygons.IsEmpty(GroupID.GetValue()), "polygon group %d still has polygons",
              GroupID.GetValue());
    PolygonGroupIDs.Remove(GroupID);
    PolygonGroupAttributeSet.Remove(GroupID.GetValue());
}

bool FMeshDescription::IsVertexOrphaned(FVertexID VertexID) const
{
    for (const FVertexInstanceID Instance : GetVertexVertexInstanceIDs(VertexID))
    {
        if (!InstanceToTriangles.IsEmpty(Instance.GetValue()))
        {
            return false;
        }
    }
    return true;
}

void FMeshDescription::SetPolygonPolygonGroup(FPolygonID PolygonID, FPolygonGroupID GroupID)
{
    VT_CHECKF(PolygonIDs.IsValid(PolygonID), "polygon %d does not exist", PolygonID.GetValue());
    VT_CHECKF(PolygonGroupIDs.IsValid(GroupID), "polygon group %d does not exist", GroupID.GetValue());
    BuildIndexers();
    const FPolygonGroupID OldGroup = GetPolygonPolygonGroup(PolygonID);
    if (OldGroup == GroupID)
    {
        return;
    }
    GroupToPolygons.Unlink(OldGroup.GetValue(), PolygonID.GetValue(), 0);
    GroupToPolygons.Link(GroupID.GetValue(), PolygonID.GetValue(), 0);
    PolygonGroupOfPolygon[PolygonID.GetValue()] = GroupID;
    for (const FTriangleID Triangle : GetPolygonTriangles(PolygonID))
    {
        TriangleData[Triangle.GetValue()].Group = GroupID;
    }
}

// Queries ----------------------------------------------------------------------------------------------

void FMeshDescription::CheckVertex(FVertexID ID) const
{
    VT_CHECKF(VertexIDs.IsValid(ID), "vertex %d does not exist", ID.GetValue());
}

std::array<FVertexID, 3> FMeshDescription::GetTriangleVertices(FTriangleID ID) const
{
    const FTriangleData& Data = TriangleData[ID.GetValue()];
    return {GetVertexInstanceVertex(Data.Corners[0]), GetVertexInstanceVertex(Data.Corners[1]),
            GetVertexInstanceVertex(Data.Corners[2])};
}

FEdgeID FMeshDescription::GetVertexPairEdge(FVertexID VertexID0, FVertexID VertexID1) const
{
    // The edge, if any, is in both vertices' lists: walking the two side by side stops at the end of the
    // shorter one, so a vertex with many edges (the hub of a fan) costs no more than its partner's few.
    const auto Joins = [&](FEdgeID Edge)
    {
        const std::array<FVertexID, 2>& Ends = EdgeVertices[Edge.GetValue()];
        return (Ends[0] == VertexID0 && Ends[1] == VertexID1) ||
               (Ends[0] == VertexID1 && Ends[1] == VertexID0);
    };
    const TMeshAdjacencyRange<FEdgeID> Edges0 = GetVertexConnectedEdgeIDs(VertexID0);
    const TMeshAdjacencyRange<FEdgeID> Edges1 = GetVertexConnectedEdgeIDs(VertexID1);
    auto It0 = Edges0.begin();
    auto It1 = Edges1.begin();
    for (; !(It0 == Edges0.end()) && !(It1 == Edges1.end()); ++It0, ++It1)
    {
        if (Joins(*It0))
        {
            return *It0;
        }
        if (Joins(*It1))
        {
            return *It1;
        }
    }
    return FEdgeID::Invalid();
}

TMeshAdjacencyRange<FVertexInstanceID> FMeshDescription::GetVertexVertexInstanceIDs(FVertexID ID) const
{
    BuildIndexers();
    return TMeshAdjacencyRange<FVertexInstanceID>(VertexToInstances[ID.GetValue()]);
}

TMeshAdjacencyRange<FEdgeID> FMeshDescription::GetVertexConnectedEdgeIDs(FVertexID ID) const
{
    BuildIndexers();
    return TMeshAdjacencyRange<FEdgeID>(VertexToEdges[ID.GetValue()]);
}

TMeshAdjacencyRange<FTriangleID>
FMeshDescription::GetVertexInstanceConnectedTriangleIDs(FVertexInstanceID ID) const
{
    BuildIndexers();
    return TMeshAdjacencyRange<FTriangleID>(InstanceToTriangles[ID.GetValue()]);
}

TMeshAdjacencyRange<FTriangleID> FMeshDescription::GetEdgeConnectedTriangleIDs(FEdgeID ID) const
{
    BuildIndexers();
    return TMeshAdjacencyRange<FTriangleID>(EdgeToTriangles[ID.GetValue()]);
}

TMeshAdjacencyRange<FTriangleID> FMeshDescription::GetPolygonTriangles(FPolygonID ID) const
{
    BuildIndexers();
    return TMeshAdjacencyRange<FTriangleID>(PolygonToTriangles[ID.GetValue()]);
}

TMeshAdjacencyRange<FPolygonID> FMeshDescription::GetPolygonGroupPolygonIDs(FPolygonGroupID ID) const
{
    BuildIndexers();
    return TMeshAdjacencyRange<FPolygonID>(GroupToPolygons[ID.GetValue()]);
}

TArray<FTriangleID> FMeshDescription::GetVertexConnectedTriangles(FVertexID ID) const
{
    TArray<FTriangleID> Result;
    for (const FVertexInstanceID Instance : GetVertexVertexInstanceIDs(ID))
    {
        for (const FTriangleID Triangle : GetVertexInstanceConnectedTriangleIDs(Instance))
        {
            Result.Add(Triangle);
        }
    }
    return Result;
}

bool FMeshDescription::IsEmpty() const
{
    return VertexIDs.IsEmpty() && VertexInstanceIDs.IsEmpty() && EdgeIDs.IsEmpty() && TriangleIDs.IsEmpty() &&
           PolygonIDs.IsEmpty() && PolygonGroupIDs.IsEmpty();
}

void FMeshDescription::Empty()
{
    VertexIDs.Empty();
    VertexInstanceIDs.Empty();
    EdgeIDs.Empty();
    TriangleIDs.Empty();
    PolygonIDs.Empty();
    PolygonGroupIDs.Empty();
    InstanceVertex.Empty();
    EdgeVertices.Empty();
    TriangleData.Empty();
    PolygonGroupOfPolygon.Empty();
    ForEachAttributeSet([](FMeshAttributeSetBase& Set) { Set.SetNumElements(0); });
    ResetIndexers();
    BuildIndexers();
}
