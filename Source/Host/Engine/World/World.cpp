#include "Engine/World/World.h"

#include "Engine/Components/ActorComponent.h"
#include "Engine/World/Actor.h"

void UWorld::AddActor(UActor* Actor)
{
    Actors.Add(Actor);
}

void UWorld::DestroyActor(UActor* Actor)
{
    if (!Actor || Actor->GetWorld() != this || Actor->bActorIsBeingDestroyed)
    {
        return;
    }
    Actor->bActorIsBeingDestroyed = true;
    for (UActorComponent* Component : Actor->GetComponents())
    {
        Component->UnregisterComponent();
    }
    Actors.Remove(Actor);
    Actor->MarkAsGarbage();
}

void UWorld::AddComponent(UActorComponent* Component)
{
    Components.AddUnique(Component);
}

void UWorld::RemoveComponent(UActorComponent* Component)
{
    Components.Remove(Component);
}
