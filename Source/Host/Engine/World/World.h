#pragma once

#include "Core/Containers/Array.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/Components/ActorComponent.h"
#include "Engine/World/Actor.h"

/**
 * A scene: the actors placed in it and the components registered with it, such as the preview
 * scene of an asset editor. Actors are spawned into the world and destroyed through it.
 */
VT_CLASS(ToolTip = "A scene of actors and components.")
class UWorld : public UObject
{
    VT_BODY(UWorld, UObject)

public:
    /** Makes an actor of the class inside this world. */
    template <CReflectedClass ActorType>
    ActorType* SpawnActor(FName Name = NAME_None)
    {
        ActorType* Actor = NewObject<ActorType>(this, Name);
        AddActor(Actor);
        return Actor;
    }
    /** Marks the actor as being destroyed, unregisters its components and removes it from the world. */
    void DestroyActor(UActor* Actor);

    /**
     * Calls Visit(UActor*) for each actor of the world's active levels in spawn order, skipping actors
     * being destroyed. A world here has one level, always active: its persistent level.
     */
    template <typename VisitorType>
    void ForEachActor(VisitorType Visit) const
    {
        for (UActor* Actor : Actors)
        {
            if (Actor && !Actor->IsActorBeingDestroyed())
            {
                Visit(Actor);
            }
        }
    }

    /** The live actors, in the order they were spawned. */
    const TArray<TObjectPtr<UActor>>& GetActors() const { return Actors; }

    /** Registered components, those of actors and those without an owner, in registration order. */
    const TArray<TObjectPtr<UActorComponent>>& GetRegisteredComponents() const { return Components; }

private:
    friend class UActorComponent;

    void AddActor(UActor* Actor);
    void AddComponent(UActorComponent* Component);
    void RemoveComponent(UActorComponent* Component);

    VT_PROPERTY()
    TArray<TObjectPtr<UActor>> Actors;

    VT_PROPERTY()
    TArray<TObjectPtr<UActorComponent>> Components;
};
