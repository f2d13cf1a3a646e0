#pragma once

#include "Core/Containers/Array.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/Components/ActorComponent.h"

class UWorld;

/** Something placed in a world; it holds components, which give it a place, a look and behaviour. */
VT_CLASS(ToolTip = "An object placed in a world, made of components.")
class UActor : public UObject
{
    VT_BODY(UActor, UObject)

public:
    /** The world the actor was spawned into (its outer). */
    UWorld* GetWorld() const;

    /** Makes a component of the class owned by this actor and registers it with the actor's world. */
    template <CReflectedClass ComponentType>
    ComponentType* AddComponent(FName Name = NAME_None)
    {
        ComponentType* Component = NewObject<ComponentType>(this, Name);
        AttachNewComponent(Component);
        return Component;
    }

    const TArray<TObjectPtr<UActorComponent>>& GetComponents() const { return Components; }

    /** Calls Visit(T*) for each component of class T (subclasses included), in order. */
    template <typename T, typename VisitorType>
    void ForEachComponent(VisitorType Visit) const
    {
        for (UActorComponent* Component : Components)
        {
            if (T* Typed = Cast<T>(Component))
            {
                Visit(Typed);
            }
        }
    }

    bool IsActorBeingDestroyed() const { return bActorIsBeingDestroyed; }

private:
    friend class UWorld;

    void AttachNewComponent(UActorComponent* Component);

    VT_PROPERTY()
    TArray<TObjectPtr<UActorComponent>> Components;

    bool bActorIsBeingDestroyed = false;
};
