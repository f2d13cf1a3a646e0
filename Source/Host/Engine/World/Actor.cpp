#include "Engine/World/Actor.h"

#include "Engine/Components/ActorComponent.h"
#include "Engine/World/World.h"

UWorld* UActor::GetWorld() const
{
    return Cast<UWorld>(GetOuter());
}

void UActor::AttachNewComponent(UActorComponent* Component)
{
    Components.Add(Component);
    if (UWorld* World = GetWorld())
    {
        Component->RegisterComponentWithWorld(World);
    }
}
