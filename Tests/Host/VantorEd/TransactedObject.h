#pragma once

#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"

/** An object whose state undo records: reflected and unreflected members alike. */
VT_CLASS()
class UTransactedObject : public UObject
{
    VT_BODY(UTransactedObject, UObject)

public:
    VT_PROPERTY()
    TObjectPtr<UTransactedObject> Reference;

    TArray<int32> Values;
    FString Label;
    int32 UndoNotifications = 0;

    void PostEditUndo() override { ++UndoNotifications; }
};
