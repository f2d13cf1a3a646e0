#include "Engine/Components/SceneComponent.h"

void USceneComponent::SetWorldTransform(const FTransform& Transform)
{
    ComponentToWorld = Transform;
    UpdateBounds();
}

void USceneComponent::SetWorldLocation(const FVector& Location)
{
    ComponentToWorld.SetTranslation(Location);
    UpdateBounds();
}

FBoxSphereBounds USceneComponent::CalcBounds(const FTransform& LocalToWorld) const
{
    return FBoxSphereBounds(LocalToWorld.GetTranslation(), FVector(0, 0, 0), 0);
}

FBoxSphereBounds USceneComponent::PlaceLocalBox(const FBox& LocalBox, const FTransform& LocalToWorld)
{
    if (!LocalBox.bIsValid)
    {
        return FBoxSphereBounds(LocalToWorld.GetTranslation(), FVector(0, 0, 0), 0);
    }
    FBox WorldBox;
    for (int32 Corner = 0; Corner < 8; ++Corner)
    {
        const FVector Point((Corner & 1) ? LocalBox.Max.X : LocalBox.Min.X,
                            (Corner & 2) ? LocalBox.Max.Y : LocalBox.Min.Y,
                            (Corner & 4) ? LocalBox.Max.Z : LocalBox.Min.Z);
        WorldBox += LocalToWorld.TransformPosition(Point);
    }
    return FBoxSphereBounds(WorldBox);
}
