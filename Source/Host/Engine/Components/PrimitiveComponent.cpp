#include "Engine/Components/PrimitiveComponent.h"

void UPrimitiveComponent::MarkRenderStateDirty()
{
    UpdateBounds();
    ++RenderStateRevision.Get();
}
