#include "Engine/Components/ActorComponent.h"

#include "Engine/World/Actor.h"
#include "Engine/World/World.h"

UActor* UActorComponent::GetOwner() const
{
    return Cast<UActor>(GetOuter());
}

UWorld* UActorComponent::GetWorld() const
{
    if (World.Get())
    {
        return World.Get();
    }
    if (const UActor* Owner = GetOwner())
    {
        return Owner->GetWorld();
    }
    return Cast<UWorld>(GetOuter());
}

void UActorComponent::RegisterComponentWithWorld(UWorld* InWorld)
{
    if (World.Get() == InWorld)
    {
        return;
    }
    UnregisterComponent();
    World.Get() = InWorld;
    if (InWorld)
    {
        InWorld->AddComponent(this);
    }
}

void UActorComponent::UnregisterComponent()
{
    if (UWorld* Registered = World.Get())
    {
        Registered->RemoveComponent(this);
        World.Get() = nullptr;
    }
}
