#pragma once

#include "Core/Containers/String.h"
#include "Core/Delegates/MulticastDelegate.h"
#include "Core/Modules/ModuleInterface.h"

class UObject;

/** The module "AssetTools": names and makes new assets. */
class FAssetTools : public IModuleInterface
{
public:
    /** The module, loaded by name on first use. */
    static FAssetTools& Get();

    /**
     * The first of Base+Suffix, Base+Suffix+"_1", Base+Suffix+"_2", ... that no package and no
     * asset uses, and its short name as the asset name. When Base+Suffix is not a valid long
     * package name both outputs are empty and a warning is logged.
     */
    void CreateUniqueAssetName(const FString& BasePackageName, const FString& Suffix, FString& OutPackageName,
                               FString& OutAssetName) const;

    /**
     * Copies OriginalObject (with everything inside it) as the asset AssetName of the package
     * PackagePath/AssetName, made when it does not exist yet, and marks that package dirty. The
     * new asset is public and standalone. Refuses with null and a warning when the names are
     * not valid, when there is no original, when the package already holds an object of that
     * name, or when the original cannot be copied; a refusal leaves no new package behind.
     */
    UObject* DuplicateAsset(const FString& AssetName, const FString& PackagePath, UObject* OriginalObject);

    /** Broadcast with each new asset that DuplicateAsset made, before it hands the asset out. */
    TMulticastDelegate<void(UObject*)>& OnAssetDuplicated() { return AssetDuplicated; }

private:
    TMulticastDelegate<void(UObject*)> AssetDuplicated;
};
