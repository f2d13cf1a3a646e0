#pragma once

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
    /** The world the component is registered with, or null. */
    UWorld* GetWorld() const { return World; }
    bool IsRegistered() const { return World != nullptr; }

    /** Registers the component with a world; registering again with another world moves it. */
    void RegisterComponentWithWorld(UWorld* InWorld);
    void UnregisterComponent();

private:
    /** Not reflected: the world holds its registered components, not the other way round. */
    UWorld* World = nullptr;
};
