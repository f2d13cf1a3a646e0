#include "Engine/Components/ActorComponent.h"

#include "Engine/World/Actor.h"
#include "Engine/World/World.h"

UActor* UActorComponent::GetOwner() const
{
    return Cast<UActor>(GetOuter());
}

void UActorComponent::RegisterComponentWithWorld(UWorld* InWorld)
{
    if (World == InWorld)
    {
        return;
    }
    UnregisterComponent();
    World = InWorld;
    if (World)
    {
        World->AddComponent(this);
    }
}

void UActorComponent::UnregisterComponent()
{
    if (World)
    {
        World->RemoveComponent(this);
        World = nullptr;
    }
}
