#include "VantorEd/Assets/AssetTools.h"

#include "Core/Logging/LogMacros.h"
#include "Core/Modules/ModuleRegistrar.h"
#include "CoreUObject/Misc/PackageName.h"
#include "CoreUObject/Object/ObjectDuplication.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "VantorEd/Assets/AssetRegistry.h"
#include "VantorEd/Logging/LogVantorEd.h"

VT_IMPLEMENT_MODULE(FAssetTools, AssetTools);

namespace
{
/** Every asset lives in a package, so a free package name is a free asset name. */
bool IsPackageNameTaken(const FString& PackageName)
{
    return FindPackage(PackageName) != nullptr;
}

/** Why DuplicateAsset cannot make PackageName; empty when it can. */
FString FindDuplicateProblem(const FString& AssetName, const FString& PackageName, const UObject* Original)
{
    if (!IsValid(Original))
    {
        return "there is no object to copy";
    }
    if (AssetName.Contains("/"))
    {
        return FString::Printf("the asset name '%s' is not a single name", *AssetName);
    }
    if (FString Reason; !FPackageName::IsValidLongPackageName(PackageName, &Reason))
    {
        return Reason;
    }
    const UPackage* Existing = FindPackage(PackageName);
    if (Existing && FUObjectArray::Get().FindObject(Existing, FName(AssetName)))
    {
        return FString::Printf("the package already holds an object named '%s'", *AssetName);
    }
    return FString();
}
} // namespace

FAssetTools& FAssetTools::Get()
{
    return FModuleManager::Get().LoadModuleChecked<FAssetTools>("AssetTools");
}

void FAssetTools::CreateUniqueAssetName(const FString& BasePackageName, const FString& Suffix,
                                        FString& OutPackageName, FString& OutAssetName) const
{
    OutPackageName.Empty();
    OutAssetName.Empty();
    const FString Stem = BasePackageName + Suffix;
    if (FString Reason; !FPackageName::IsValidLongPackageName(Stem, &Reason))
    {
        VT_LOG(LogVantorEd, Warning, "Cannot make a unique asset name: %s", *Reason);
        return;
    }
    FString Candidate = Stem;
    for (int32 Number = 1; IsPackageNameTaken(Candidate); ++Number)
    {
        Candidate = FString::Printf("%s_%d", *Stem, Number);
    }
    OutPackageName = Candidate;
    OutAssetName = FPackageName::GetShortName(Candidate);
}

UObject* FAssetTools::DuplicateAsset(const FString& AssetName, const FString& PackagePath,
                                     UObject* OriginalObject)
{
    const FString PackageName = PackagePath + "/" + AssetName;
    if (const FString Problem = FindDuplicateProblem(AssetName, PackageName, OriginalObject);
        !Problem.IsEmpty())
    {
        VT_LOG(LogVantorEd, Warning, "Cannot duplicate into '%s': %s", *PackageName, *Problem);
        return nullptr;
    }
    const bool bNewPackage = FindPackage(PackageName) == nullptr;
    UPackage* Package = CreatePackage(PackageName);
    UObject* Copy = StaticDuplicateObject(OriginalObject, Package, FName(AssetName));
    if (!Copy)
    {
        if (bNewPackage)
        {
            // Destroyed at once for every lookup; the next collection frees it.
            Package->MarkAsGarbage();
        }
        VT_LOG(LogVantorEd, Warning, "Cannot duplicate '%s' into '%s': it cannot be copied",
               *OriginalObject->GetPathName(), *PackageName);
        return nullptr;
    }
    Copy->SetFlags(RF_Public | RF_Standalone);
    Package->SetDirtyFlag(true);
    AssetDuplicated.Broadcast(Copy);
    return Copy;
}
