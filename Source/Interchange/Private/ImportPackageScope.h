#pragma once

#include "Core/Containers/String.h"

class UPackage;

/**
 * The package an import makes its assets in. Unless the import keeps it, the scope discards the
 * package and everything in it when it ends, so an import that stops half-way (out of memory, say)
 * leaves no package or asset behind.
 */
class FImportPackageScope
{
public:
    explicit FImportPackageScope(const FString& PackageName);
    ~FImportPackageScope();
    FImportPackageScope(const FImportPackageScope&) = delete;
    FImportPackageScope& operator=(const FImportPackageScope&) = delete;

    UPackage& GetPackage() const { return *Package; }
    /** The import is complete: the package stays. */
    UPackage* Keep();

private:
    UPackage* Package = nullptr;
    bool bKept = false;
};
