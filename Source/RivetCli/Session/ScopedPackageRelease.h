#pragma once

#include "Core/Containers/Set.h"
#include "Core/Containers/String.h"

class UPackage;

/**
 * Frees, when it goes out of scope, every asset package made while it lived, with everything in it:
 * what a command read from files and what its tools made, once it is saved or no longer wanted. Packages
 * that existed before are left alone.
 */
class FScopedPackageRelease
{
public:
    FScopedPackageRelease();
    ~FScopedPackageRelease();

    FScopedPackageRelease(const FScopedPackageRelease&) = delete;
    FScopedPackageRelease& operator=(const FScopedPackageRelease&) = delete;

    /** True for an asset package made since the scope began. */
    bool IsNew(const UPackage& Package) const;

private:
    TSet<FString> PackagesBefore;
};
