#pragma once

#include "Core/Containers/Map.h"
#include "Core/Containers/String.h"
#include "Core/Name/Name.h"

class UClass;
class UObject;

/**
 * What the editor knows of one asset (an object whose outer is a package) without holding it:
 * where it lives, its name, its class and the searchable tags it reported. A default-made
 * value describes nothing.
 */
struct FAssetData
{
    /** "/Game/Characters/Hero". */
    FName PackageName;
    /** The package's folder, "/Game/Characters". */
    FName PackagePath;
    /** "Hero". */
    FName AssetName;
    /** The path of the asset's class, "/Script/Engine.SkeletalMesh". */
    FString AssetClassPath;
    /** What the asset's GetAssetRegistryTags reported when this value was made. */
    TMap<FName, FString> Tags;

    FAssetData() = default;
    /** Describes the object when it is a live asset; otherwise describes nothing. */
    explicit FAssetData(const UObject* Asset);

    bool IsValid() const { return !PackageName.IsNone() && !AssetName.IsNone(); }
    /** "/Game/Characters/Hero.Hero"; empty when the value describes nothing. */
    FString GetObjectPathString() const;
    /** The class path, then "'", then the object path, then "'"; empty when the value describes nothing. */
    FString GetExportTextName() const;
    /** The live object at the object path; null when it is gone. */
    UObject* GetAsset() const;
    /** The class named by the class path; null when there is none. */
    UClass* GetClass() const;
    /** The value of a tag; empty when the asset did not report it. */
    FString GetTagValue(FName Tag) const { return Tags.FindRef(Tag); }

    /** Equal when every field is: the same asset, class and tags. */
    bool operator==(const FAssetData& Other) const = default;
};
