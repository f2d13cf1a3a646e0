#pragma once

#include "Core/CoreTypes.h"
#include "CoreUObject/Object/NonTransactedValue.h"
#include "Engine/Components/SceneComponent.h"

/** A scene component that draws something. Drawing state is rebuilt when marked dirty. */
VT_CLASS(ToolTip = "A component that draws something.")
class UPrimitiveComponent : public USceneComponent
{
    VT_BODY(UPrimitiveComponent, USceneComponent)

public:
    /** Asks for the drawing state to be rebuilt: bounds are recomputed and the revision advances. */
    void MarkRenderStateDirty();
    /** Advances each time the drawing state was rebuilt; views redraw when it changes. */
    int32 GetRenderStateRevision() const { return RenderStateRevision.Get(); }

private:
    TNonTransactedValue<int32> RenderStateRevision;
};
