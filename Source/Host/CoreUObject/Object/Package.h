#pragma once

#include "Core/Delegates/MulticastDelegate.h"
#include "CoreUObject/Object/Object.h"

/**
 * The outermost object: a package holds assets and everything inside them. Its name is its
 * long package name ("/Game/Characters/Hero"). A package knows whether it needs a save.
 */
class UPackage : public UObject
{
public:
    using Super = UObject;
    using ThisClass = UPackage;
    static UClass* StaticClass();

    bool IsDirty() const { return bDirty; }
    void SetDirtyFlag(bool bIsDirty) { bDirty = bIsDirty; }

    /**
     * Broadcast every time an object marks its package dirty, also when the package is dirty already:
     * listeners see each request to save, not only the change of the flag.
     */
    static TMulticastDelegate<void(const UPackage*)>& OnMarkedDirty();

private:
    bool bDirty = false;
};

/** The package of objects that are never saved. It lives for the whole process. */
UPackage* GetTransientPackage();
/** Finds the package with this long name, or makes it. */
UPackage* CreatePackage(const FString& LongPackageName);
UPackage* FindPackage(const FString& LongPackageName);
