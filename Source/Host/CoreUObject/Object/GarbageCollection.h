#pragma once

#include "Core/Containers/Array.h"
#include "CoreUObject/Object/Object.h"
#include "CoreUObject/Object/ObjectPtr.h"

/**
 * Gathers the objects that something refers to, during garbage collection. A reference to an
 * object marked as garbage is cleared: the collector sets it to null.
 */
class FReferenceCollector
{
public:
    virtual ~FReferenceCollector() = default;
    virtual void AddReferencedObject(UObject*& Object) = 0;

    template <typename T>
    void AddReferencedObject(T*& Object)
    {
        UObject* Reference = Object;
        AddReferencedObject(Reference);
        Object = static_cast<T*>(Reference);
    }
    template <typename T>
    void AddReferencedObject(TObjectPtr<T>& Object)
    {
        T* Reference = Object.Get();
        AddReferencedObject(Reference);
        Object = Reference;
    }

    /**
     * Reports everything that an object refers to: its reflected references and what its
     * AddReferencedObjects reports. Works on unregistered copies too (undo snapshots).
     */
    void AddReferencesOf(UObject* Object);
};

/**
 * Something outside the object system that holds objects (the undo history, an editor
 * service). While it exists, the collector asks it for its references.
 */
class FGCObject
{
public:
    FGCObject();
    FGCObject(const FGCObject&);
    FGCObject& operator=(const FGCObject&) = default;
    virtual ~FGCObject();

    virtual void AddReferencedObjects(FReferenceCollector& Collector) = 0;
};

/**
 * Destroys every object that nothing keeps: an object is kept when it is rooted, held by a
 * strong pointer from outside, standalone, referred to by a kept object or an FGCObject, or
 * when its outer is kept (the transient package excepted: it keeps only what is referred to).
 * An object's outer is kept with it. An object marked as garbage is destroyed whatever refers
 * to it, and those references are cleared; only a strong pointer from outside still keeps it.
 * Returns the number of objects destroyed.
 */
int32 CollectGarbage();
