#pragma once

#include "CoreUObject/Object/Object.h"

/** The way to an object's whole-state copy and exchange, for undo and for duplication. */
struct FObjectStateAccess
{
    /** An unregistered copy of the object's whole state; null when its class cannot be copied. */
    static UObject* Clone(const UObject* Object) { return Object->CloneForUndo(); }
    /** Exchanges the object's whole state with a copy made by Clone. */
    static void Swap(UObject* Object, UObject& State) { Object->SwapStateForUndo(State); }
};
