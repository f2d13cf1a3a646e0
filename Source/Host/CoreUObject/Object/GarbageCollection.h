#pragma once

#include "Core/Containers/Array.h"
#include "CoreUObject/Object/Object.h"

/** Gathers the objects that something refers to, during garbage collection. */
class FReferenceCollector
{
public:
    virtual ~FReferenceCollector() = default;
    virtual void AddReferencedObject(const UObject* Object) = 0;
    /**
     * Reports everything that an object refers to: its reflected references and what its
     * AddReferencedObjects reports. Works on unregistered copies too (undo snapshots).
     */
    void AddReferencesOf(const UObject* Object);
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
 * An object's outer is kept with it. Returns the number of objects destroyed.
 */
int32 CollectGarbage();
