#pragma once

#include "CoreUObject/Object/NonTransactedValue.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

/**
 * A mesh a tool shows in the viewport while it works: a dynamic mesh of its own, with element
 * IDs of its own, that the tool edits and the user selects on.
 */
VT_CLASS(ToolTip = "A mesh shown by a tool while it works.")
class UPreviewMesh : public UObject
{
    VT_BODY(UPreviewMesh, UObject)

public:
    FDynamicMesh3* GetMesh() { return &Mesh; }
    const FDynamicMesh3* GetMesh() const { return &Mesh; }

    /** Replaces the shown mesh. */
    void UpdatePreview(FDynamicMesh3&& NewMesh);
    /** Lets Edit change the shown mesh in place. */
    template <typename EditType>
    void EditMesh(EditType Edit)
    {
        Edit(Mesh);
        ++Revision.Get();
    }

    /** Advances on every change, so views know when to redraw. */
    int32 GetRevision() const { return Revision.Get(); }

private:
    FDynamicMesh3 Mesh;
    TNonTransactedValue<int32> Revision;
};
