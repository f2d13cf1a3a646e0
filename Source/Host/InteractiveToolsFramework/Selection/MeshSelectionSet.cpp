#include "InteractiveToolsFramework/Selection/MeshSelectionSet.h"

#include "GeometryCore/Util/IDBitSet.h"

#include <algorithm>

namespace
{
/** An empty set large enough for every non-negative ID of both lists. */
FIDBitSet MakeIDSet(const TArray<int32>& First, const TArray<int32>& Second)
{
    int32 MaxID = -1;
    for (const TArray<int32>* List : {&First, &Second})
    {
        for (const int32 ID : *List)
        {
            MaxID = std::max(MaxID, ID);
        }
    }
    return FIDBitSet(MaxID + 1);
}
} // namespace

const TArray<int32>& UMeshSelectionSet::GetElements(EMeshSelectionElementType ElementType) const
{
    return const_cast<UMeshSelectionSet*>(this)->Elements(ElementType);
}

TArray<int32>& UMeshSelectionSet::Elements(EMeshSelectionElementType ElementType)
{
    switch (ElementType)
    {
        case EMeshSelectionElementType::Vertex:
            return Vertices;
        case EMeshSelectionElementType::Edge:
            return Edges;
        case EMeshSelectionElementType::Group:
            return Groups;
        case EMeshSelectionElementType::Face:
            break;
    }
    return Faces;
}

void UMeshSelectionSet::AddIndices(EMeshSelectionElementType ElementType, const TArray<int32>& Indices)
{
    TArray<int32>& Selected = Elements(ElementType);
    FIDBitSet Members = MakeIDSet(Selected, Indices);
    for (const int32 ID : Selected)
    {
        Members.Add(ID);
    }
    for (const int32 ID : Indices)
    {
        if (ID >= 0 && Members.Add(ID))
        {
            Selected.Add(ID);
        }
    }
    ++Revision.Get();
}

void UMeshSelectionSet::RemoveIndices(EMeshSelectionElementType ElementType, const TArray<int32>& Indices)
{
    TArray<int32>& Selected = Elements(ElementType);
    FIDBitSet Removed = MakeIDSet(Selected, Indices);
    for (const int32 ID : Indices)
    {
        if (ID >= 0)
        {
            Removed.Add(ID);
        }
    }
    Selected.RemoveAll([&Removed](int32 ID) { return Removed.Contains(ID); });
    ++Revision.Get();
}

void UMeshSelectionSet::SetIndices(EMeshSelectionElementType ElementType, const TArray<int32>& Indices)
{
    Elements(ElementType).Reset();
    AddIndices(ElementType, Indices);
}

void UMeshSelectionSet::Clear(EMeshSelectionElementType ElementType)
{
    Elements(ElementType).Reset();
    ++Revision.Get();
}

void UMeshSelectionSet::ClearAll()
{
    Vertices.Reset();
    Faces.Reset();
    Edges.Reset();
    Groups.Reset();
    ++Revision.Get();
}
