#pragma once

#include "CoreUObject/Object/Object.h"

/**
 * Copies Source and every live object inside it (every object whose outer chain reaches Source;
 * objects marked as garbage, and what is inside them, are left out). Each copy is made through
 * the class's whole-state copy and registered with the original's flags minus rooting and
 * native: the copy of Source inside Outer (the transient package when null) under Name (a unique
 * name when none), every other copy inside the copy of its outer under the original's name.
 * References between copied objects then point at the copies; references to objects outside
 * the copied set stay. Finally PostDuplicate runs on every copy, outers before their inners.
 *
 * Answers the copy of Source, or null when Source is null or destroyed, when Name is already
 * used in Outer, or when any object of the set has a class that cannot be copied. A null answer
 * registers nothing.
 */
UObject* StaticDuplicateObject(const UObject* Source, UObject* Outer, FName Name);

template <CReflectedClass T>
T* DuplicateObject(const T* Source, UObject* Outer, FName Name = NAME_None)
{
    return static_cast<T*>(StaticDuplicateObject(Source, Outer, Name));
}
