#include "VantorEd/Assets/AssetData.h"

#include "CoreUObject/Misc/PackageName.h"
#include "CoreUObject/Object/UObjectGlobals.h"

FAssetData::FAssetData(const UObject* Asset)
{
    const UPackage* Package = Asset ? Cast<UPackage>(Asset->GetOuter()) : nullptr;
    if (!::IsValid(Asset) || !Package)
    {
        return;
    }
    PackageName = Package->GetFName();
    PackagePath = FName(FPackageName::GetLongPackagePath(Package->GetName()));
    AssetName = Asset->GetFName();
    AssetClassPath = Asset->GetClass()->GetPathName();
    Asset->GetAssetRegistryTags(Tags);
}

FString FAssetData::GetObjectPathString() const
{
    return IsValid() ? FPackageName::GetObjectPath(PackageName.ToString(), AssetName.ToString()) : FString();
}

FString FAssetData::GetExportTextName() const
{
    return IsValid() ? AssetClassPath + "'" + GetObjectPathString() + "'" : FString();
}

UObject* FAssetData::GetAsset() const
{
    return IsValid() ? StaticFindObject(GetObjectPathString()) : nullptr;
}

UClass* FAssetData::GetClass() const
{
    return AssetClassPath.IsEmpty() ? nullptr : FindObject<UClass>(AssetClassPath);
}
