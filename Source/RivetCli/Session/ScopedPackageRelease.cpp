#include "RivetCli/Session/ScopedPackageRelease.h"

#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Object/UObjectGlobals.h"

namespace
{
bool IsAssetPackage(const UPackage& Package)
{
    return &Package != GetTransientPackage() && !Package.GetName().StartsWith("/Script/");
}
} // namespace

FScopedPackageRelease::FScopedPackageRelease()
{
    ForEachObjectOfClass<UPackage>(
        [this](UPackage* Package)
        {
            if (IsAssetPackage(*Package))
            {
                PackagesBefore.Add(Package->GetName());
            }
        });
}

FScopedPackageRelease::~FScopedPackageRelease()
{
    ForEachObjectOfClass<UObject>(
        [this](UObject* Object)
        {
            const UPackage* Package = Object->GetPackage();
            if (Package && IsNew(*Package))
            {
                Object->MarkAsGarbage();
            }
        });
    CollectGarbage();
}

bool FScopedPackageRelease::IsNew(const UPackage& Package) const
{
    return IsAssetPackage(Package) && !PackagesBefore.Contains(Package.GetName());
}
