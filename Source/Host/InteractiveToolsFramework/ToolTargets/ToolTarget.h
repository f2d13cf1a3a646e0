#pragma once

#include "CoreUObject/Object/UObjectGlobals.h"

/**
 * What a tool works on, seen through interfaces: a tool asks its target for the interface it
 * needs (Cast<IInterface>(Target)) instead of knowing the target's class.
 */
VT_CLASS(ToolTip = "The object a tool works on.")
class UToolTarget : public UObject
{
    VT_BODY(UToolTarget, UObject)

public:
    /** Whether the target still refers to something a tool can work on. */
    virtual bool IsValid() const { return false; }
};
