#pragma once

#include "Core/Containers/Array.h"
#include "CoreUObject/Object/NonTransactedValue.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "InteractiveToolsFramework/Selection/MeshSelectionElementType.h"

/**
 * The elements selected on a mesh, by kind, as element IDs of that mesh. Each list holds an ID
 * at most once and keeps the order in which the IDs were selected.
 */
VT_CLASS(ToolTip = "Selected mesh elements.")
class UMeshSelectionSet : public UObject
{
    VT_BODY(UMeshSelectionSet, UObject)

public:
    const TArray<int32>& GetElements(EMeshSelectionElementType ElementType) const;

    /** Appends the IDs not selected yet, in the given order. */
    void AddIndices(EMeshSelectionElementType ElementType, const TArray<int32>& Indices);
    /** Drops the given IDs; the rest keep their order. */
    void RemoveIndices(EMeshSelectionElementType ElementType, const TArray<int32>& Indices);
    /** Replaces the selection of the kind by the given IDs (repeats dropped). */
    void SetIndices(EMeshSelectionElementType ElementType, const TArray<int32>& Indices);
    void Clear(EMeshSelectionElementType ElementType);
    void ClearAll();

    /** Advances on every change, so views know when to redraw. */
    int32 GetRevision() const { return Revision.Get(); }

private:
    TArray<int32>& Elements(EMeshSelectionElementType ElementType);

    VT_PROPERTY()
    TArray<int32> Vertices;
    VT_PROPERTY()
    TArray<int32> Faces;
    VT_PROPERTY()
    TArray<int32> Edges;
    VT_PROPERTY()
    TArray<int32> Groups;

    TNonTransactedValue<int32> Revision;
};
