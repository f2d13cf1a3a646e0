#pragma once

#include "Core/Containers/Array.h"
#include "Core/Modules/ModuleInterface.h"
#include "VantorEd/Assets/AssetData.h"
#include "VantorEd/Assets/AssetFilter.h"

/**
 * The module "AssetRegistry": lists the assets that exist. The assets are the live objects
 * directly inside packages, leaving out the transient package and the script packages
 * ("/Script/..."). Every query answers in the order of the assets' object paths; its list
 * argument is replaced by the answer, and it returns true when the answer is not empty.
 */
class FAssetRegistry : public IModuleInterface
{
public:
    /** The module, loaded by name on first use. */
    static FAssetRegistry& Get();

    /** The assets of the class at ClassPath (and of its subclasses when asked). */
    bool GetAssetsByClass(const FString& ClassPath, TArray<FAssetData>& OutAssets,
                          bool bSearchSubClasses = false) const;
    bool GetAssetsByClass(const UClass* Class, TArray<FAssetData>& OutAssets,
                          bool bSearchSubClasses = false) const;
    bool GetAssets(const FAssetFilter& Filter, TArray<FAssetData>& OutAssets) const;
    /** The asset at an object path ("/Game/Hero.Hero"); describes nothing when there is none. */
    FAssetData GetAssetByObjectPath(const FString& ObjectPath) const;
    bool GetAssetsByPackageName(FName PackageName, TArray<FAssetData>& OutAssets) const;

    /** True for an object that the registry lists. */
    static bool IsListedAsset(const UObject* Object);
};
