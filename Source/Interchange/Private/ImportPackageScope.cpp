#include "Interchange/Private/ImportPackageScope.h"

#include "CoreUObject/Object/ObjectArray.h"
#include "CoreUObject/Object/Package.h"

FImportPackageScope::FImportPackageScope(const FString& PackageName) : Package(CreatePackage(PackageName))
{
}

FImportPackageScope::~FImportPackageScope()
{
    if (bKept)
    {
        return;
    }
    // Marked objects are gone for every lookup at once; the next collection frees them.
    FUObjectArray::Get().ForEachObject(
        [this](UObject* Object)
        {
            if (Object->GetPackage() == Package)
            {
                Object->MarkAsGarbage();
            }
        });
    Package->MarkAsGarbage();
}

UPackage* FImportPackageScope::Keep()
{
    bKept = true;
    return Package;
}
