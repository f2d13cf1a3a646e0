#include "GeometryCore/Remesher/SubRegionRemesher.h"

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

void FSubRegionRemesher::AddToROI(TArray<uint8>& Marks, TArray<int32>* List, int32 ID)
{
    if (ID >= Marks.Num())
    {
        Marks.SetNum(ID + 1, 0);
    }
    if ((Marks[ID] & InROI) == 0)
    {
        Marks[ID] = InROI;
        if (List)
        {
            List->Add(ID);
        }
    }
}

void FSubRegionRemesher::RemoveFromROI(TArray<uint8>& Marks, int32 ID)
{
    if (Marks.IsValidIndex(ID))
    {
        Marks[ID] = 0;
    }
}

void FSubRegionRemesher::CompactROI(TArray<uint8>& Marks, TArray<int32>& List)
{
    int32 Kept = 0;
    for (const int32 ID : List)
    {
        if ((Marks[ID] & (InROI | Listed)) == InROI)
        {
            Marks[ID] |= Listed;
            List[Kept++] = ID;
        }
    }
    List.SetNum(Kept);
    for (const int32 ID : List)
    {
        Marks[ID] &= static_cast<uint8>(~Listed);
    }
}

void FSubRegionRemesher::ResetROI()
{
    TriangleMarks.Init(0, Mesh->MaxTriangleID());
    VertexMarks.Init(0, Mesh->MaxVertexID());
    EdgeMarks.Init(0, Mesh->MaxEdgeID());
    VertexROI.Reset();
    EdgeROI.Reset();
    NextPassEdges.Reset();
}

void FSubRegionRemesher::AddTriangleAndItsElements(int32 TriangleID)
{
    if (!Mesh->IsTriangle(TriangleID))
    {
        return;
    }
    AddToROI(TriangleMarks, nullptr, TriangleID);
    const FIndex3i Tri = Mesh->GetTriangle(TriangleID);
    const FIndex3i TriEdges = Mesh->GetTriEdges(TriangleID);
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        AddToROI(VertexMarks, &VertexROI, Tri[Corner]);
        AddToROI(EdgeMarks, &EdgeROI, TriEdges[Corner]);
    }
}

void FSubRegionRemesher::MarkBorderVertices()
{
    for (const int32 VertexID : VertexROI)
    {
        BorderScratch.Reset();
        Mesh->GetVtxTriangles(VertexID, BorderScratch);
        if (BorderScratch.ContainsByPredicate([this](int32 TriangleID) { return !IsTriangleInROI(TriangleID); }))
        {
            VertexMarks[VertexID] |= OnBorder;
        }
    }
}

void FSubRegionRemesher::UpdateROI()
{
    CompactROI(VertexMarks, VertexROI);
    CompactROI(EdgeMarks, EdgeROI);
    NextPassEdges = EdgeROI;
    ++LastUpdateROICounter;
}

void FSubRegionRemesher::BasicRemeshPass()
{
    VT_CHECK(LastRemeshPassCounter != LastUpdateROICounter);
    LastRemeshPassCounter = LastUpdateROICounter;
    FRemesher::BasicRemeshPass();
}

void FSubRegionRemesher::ListPassEdges(TArray<int32>& OutEdges)
{
    OutEdges.Append(NextPassEdges);
}

void FSubRegionRemesher::ListPassVertices(TArray<int32>& OutVertices)
{
    CompactROI(VertexMarks, VertexROI);
    OutVertices.Append(VertexROI);
}

bool FSubRegionRemesher::IsEditableEdge(int32 EdgeID) const
{
    const FIndex2i EdgeTris = Mesh->GetEdgeT(EdgeID);
    return IsTriangleInROI(EdgeTris.A) && (EdgeTris.B == FDynamicMesh3::InvalidID || IsTriangleInROI(EdgeTris.B));
}

bool FSubRegionRemesher::IsEditableVertex(int32 VertexID) const
{
    return IsVertexInROI(VertexID) && !HasMark(VertexMarks, VertexID, OnBorder);
}

void FSubRegionRemesher::OnEdgeSplit(const FEdgeSplitInfo& Split)
{
    AddToROI(VertexMarks, &VertexROI, Split.NewVertex);
    for (int32 Side = 0; Side < 2; ++Side)
    {
        if (Split.NewTriangles[Side] != FDynamicMesh3::InvalidID)
        {
            AddToROI(TriangleMarks, nullptr, Split.NewTriangles[Side]);
        }
    }
    for (int32 Index = 0; Index < 3; ++Index)
    {
        if (Split.NewEdges[Index] != FDynamicMesh3::InvalidID)
        {
            AddToROI(EdgeMarks, &EdgeROI, Split.NewEdges[Index]);
        }
    }
}

void FSubRegionRemesher::OnEdgeCollapse(const FEdgeCollapseInfo& Collapse)
{
    RemoveFromROI(VertexMarks, Collapse.RemovedVertex);
    RemoveFromROI(EdgeMarks, Collapse.CollapsedEdge);
    for (int32 Side = 0; Side < 2; ++Side)
    {
        RemoveFromROI(TriangleMarks, Collapse.RemovedTriangles[Side]);
        RemoveFromROI(EdgeMarks, Collapse.RemovedEdges[Side]);
    }
}
