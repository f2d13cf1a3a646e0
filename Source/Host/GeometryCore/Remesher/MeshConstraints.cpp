#include "GeometryCore/Remesher/MeshConstraints.h"

void FMeshConstraints::Mark(TArray<uint8>& Marks, int32 ID, bool bMarked)
{
    VT_CHECKF(ID >= 0, "constraint on ID %d", ID);
    if (ID >= Marks.Num())
    {
        Marks.SetNum(ID + 1, 0);
    }
    Marks[ID] = bMarked ? 1 : 0;
}

void FMeshConstraints::SetOrUpdateEdgeConstraint(int32 EdgeID, const FEdgeConstraint& Constraint)
{
    EdgeConstraints.Add(EdgeID, Constraint);
    Mark(EdgeMarks, EdgeID, true);
}

void FMeshConstraints::ClearEdgeConstraint(int32 EdgeID)
{
    if (HasEdgeConstraint(EdgeID))
    {
        EdgeConstraints.Remove(EdgeID);
        Mark(EdgeMarks, EdgeID, false);
    }
}

FEdgeConstraint FMeshConstraints::GetEdgeConstraint(int32 EdgeID) const
{
    return HasEdgeConstraint(EdgeID) ? EdgeConstraints.FindChecked(EdgeID) : FEdgeConstraint();
}

void FMeshConstraints::SetOrUpdateVertexConstraint(int32 VertexID, const FVertexConstraint& Constraint)
{
    VertexConstraints.Add(VertexID, Constraint);
    Mark(VertexMarks, VertexID, true);
}

void FMeshConstraints::ClearVertexConstraint(int32 VertexID)
{
    if (HasVertexConstraint(VertexID))
    {
        VertexConstraints.Remove(VertexID);
        Mark(VertexMarks, VertexID, false);
    }
}

FVertexConstraint FMeshConstraints::GetVertexConstraint(int32 VertexID) const
{
    return HasVertexConstraint(VertexID) ? VertexConstraints.FindChecked(VertexID) : FVertexConstraint();
}
