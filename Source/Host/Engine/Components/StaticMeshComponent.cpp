#include "Engine/Components/StaticMeshComponent.h"

#include "Engine/StaticMesh/StaticMesh.h"

void UStaticMeshComponent::SetStaticMesh(UStaticMesh* Mesh)
{
    StaticMesh = Mesh;
    MarkRenderStateDirty();
}

FBoxSphereBounds UStaticMeshComponent::CalcBounds(const FTransform& LocalToWorld) const
{
    return StaticMesh ? PlaceLocalBox(StaticMesh->GetBoundingBox(), LocalToWorld)
                      : Super::CalcBounds(LocalToWorld);
}
