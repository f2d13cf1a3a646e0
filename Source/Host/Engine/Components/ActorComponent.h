#pragma once

#include "CoreUObject/Object/NonTransactedValue.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"

class UActor;
class UWorld;

/** A part of an actor, or a free-standing part of a world (such as a preview scene's floor). */
VT_CLASS(ToolTip = "A part of an actor or of a world.")
class UActorComponent : public UObject
{
    VT_BODY(UActorComponent, UObject)

public:
    /** The actor that owns the component (its outer), or null for a component without owner. */
    UActor* GetOwner() const;
    /**
     * The world the component lives in: the one it is registered with, else its owner's, else its outer
     * when that is a world; null for none.
     */
    UWorld* GetWorld() const;
    bool IsRegistered() const { return World.Get() != nullptr; }

    /** Registers the component with a world; registering again with another world moves it. */
    void RegisterComponentWithWorld(UWorld* InWorld);
    void UnregisterComponent();

private:
    /** Registration is session state: the world holds its components, and undo leaves it alone. */
    TNonTransactedValue<UWorld*> World;
};
