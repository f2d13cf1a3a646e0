#pragma once

#include "Core/Containers/String.h"
#include "CoreUObject/Reflection/Class.h"

/**
 * What a details panel (or the command line) does through reflection: find a property or
 * button by code name or display name, set a value from text, read it back, press a button,
 * and evaluate a property's EditCondition.
 */
namespace VT::Reflection
{
/** Finds a property by its code name or its display name, without regard to case. */
const FProperty* FindPropertyByAnyName(const UClass* Class, const FString& Name);
/** Finds a function by its code name or its display name, without regard to case. */
const FFunction* FindFunctionByAnyName(const UClass* Class, const FString& Name);

/**
 * Sets a property from text as the details panel does: the owner is modified (recorded in
 * the open transaction, if any) and hears PreEditChange, the value is parsed and clamped to
 * ClampMin/ClampMax, then the owner hears PostEditChangeProperty. On bad text nothing changes, the owner
 * hears nothing and OutError says why.
 */
bool SetPropertyValueFromText(UObject* Object, const FProperty& Property, const FString& Text,
                              FString& OutError);

/** Calls a function without parameters by its code name or display name. */
bool CallFunctionByName(UObject* Object, const FString& Name, FString& OutError);

/**
 * Evaluates a property's EditCondition against the object: "bFlag", "!bFlag",
 * "Name == Value" and "Name != Value" terms joined by && and ||. No condition means true.
 */
bool IsEditConditionMet(const UObject* Object, const FProperty& Property);
} // namespace VT::Reflection
