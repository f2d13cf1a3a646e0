#include "VantorEd/Assets/AssetRegistry.h"

#include "Core/Modules/ModuleRegistrar.h"
#include "CoreUObject/Object/UObjectGlobals.h"

#include <algorithm>
#include <utility>
#include <vector>

VT_IMPLEMENT_MODULE(FAssetRegistry, AssetRegistry);

namespace
{
/** Every listed asset, in the order of the object paths. */
TArray<const UObject*> ListAssets()
{
    std::vector<std::pair<FString, const UObject*>> ByPath;
    FUObjectArray::Get().ForEachObject(
        [&ByPath](const UObject* Object)
        {
            if (FAssetRegistry::IsListedAsset(Object))
            {
                ByPath.emplace_back(Object->GetPathName(), Object);
            }
        });
    std::sort(ByPath.begin(), ByPath.end(),
              [](const auto& Left, const auto& Right) { return Left.first < Right.first; });
    TArray<const UObject*> Assets;
    Assets.Reserve(static_cast<int32>(ByPath.size()));
    for (const auto& Entry : ByPath)
    {
        Assets.Add(Entry.second);
    }
    return Assets;
}

/**
 * Replaces OutAssets with the listed assets that pass both tests: PassesObject(Object) first,
 * then PassesData(Data) on the asset data, which is only made for objects that passed.
 */
template <typename ObjectPredicateType, typename DataPredicateType>
bool GatherAssets(ObjectPredicateType PassesObject, DataPredicateType PassesData,
                  TArray<FAssetData>& OutAssets)
{
    OutAssets.Reset();
    for (const UObject* Asset : ListAssets())
    {
        if (!PassesObject(*Asset))
        {
            continue;
        }
        FAssetData Data(Asset);
        if (PassesData(Data))
        {
            OutAssets.Add(std::move(Data));
        }
    }
    return !OutAssets.IsEmpty();
}

/** A filter with its class paths resolved and its tag values grouped by tag name. */
class FAssetFilterMatcher
{
public:
    explicit FAssetFilterMatcher(const FAssetFilter& InFilter) : Filter(InFilter)
    {
        for (const FString& ClassPath : Filter.ClassPaths)
        {
            if (const UClass* Class = FindObject<UClass>(ClassPath))
            {
                Classes.Add(Class);
            }
        }
        for (const TPair<FName, FString>& TagAndValue : Filter.TagsAndValues)
        {
            AcceptedTagValues.FindOrAdd(TagAndValue.Key).Add(TagAndValue.Value);
        }
        for (const FName Folder : Filter.PackagePaths)
        {
            const FString Path = Folder.ToString();
            Folders.Add(Path.EndsWith("/") ? Path.LeftChop(1) : Path);
        }
    }

    bool PassesClass(const UObject& Asset) const
    {
        if (Filter.ClassPaths.IsEmpty())
        {
            return true;
        }
        const UClass* AssetClass = Asset.GetClass();
        return Classes.ContainsByPredicate(
            [this, AssetClass](const UClass* Class)
            { return Filter.bRecursiveClasses ? AssetClass->IsChildOf(Class) : AssetClass == Class; });
    }

    bool PassesTagsAndPath(const FAssetData& Data) const { return PassesTags(Data) && PassesPath(Data); }

private:
    bool PassesTags(const FAssetData& Data) const
    {
        for (const auto& [Tag, Values] : AcceptedTagValues)
        {
            const FString* Value = Data.Tags.Find(Tag);
            if (!Value || !Values.Contains(*Value))
            {
                return false;
            }
        }
        return true;
    }

    bool PassesPath(const FAssetData& Data) const
    {
        if (Folders.IsEmpty())
        {
            return true;
        }
        const FString Path = Data.PackagePath.ToString();
        return Folders.ContainsByPredicate(
            [this, &Path](const FString& Folder)
            {
                return Path.Equals(Folder, ESearchCase::IgnoreCase) ||
                       (Filter.bRecursivePaths &&
                        Path.StartsWith((Folder + "/").View(), ESearchCase::IgnoreCase));
            });
    }

    const FAssetFilter& Filter;
    TArray<const UClass*> Classes;
    TMap<FName, TArray<FString>> AcceptedTagValues;
    /** The listed folders without a trailing "/". */
    TArray<FString> Folders;
};
} // namespace

FAssetRegistry& FAssetRegistry::Get()
{
    return FModuleManager::Get().LoadModuleChecked<FAssetRegistry>("AssetRegistry");
}

bool FAssetRegistry::GetAssetsByClass(const FString& ClassPath, TArray<FAssetData>& OutAssets,
                                      bool bSearchSubClasses) const
{
    FAssetFilter Filter;
    Filter.ClassPaths.Add(ClassPath);
    Filter.bRecursiveClasses = bSearchSubClasses;
    return GetAssets(Filter, OutAssets);
}

bool FAssetRegistry::GetAssetsByClass(const UClass* Class, TArray<FAssetData>& OutAssets,
                                      bool bSearchSubClasses) const
{
    if (!Class)
    {
        OutAssets.Reset();
        return false;
    }
    return GetAssetsByClass(Class->GetPathName(), OutAssets, bSearchSubClasses);
}

bool FAssetRegistry::GetAssets(const FAssetFilter& Filter, TArray<FAssetData>& OutAssets) const
{
    const FAssetFilterMatcher Matcher(Filter);
    return GatherAssets([&Matcher](const UObject& Asset) { return Matcher.PassesClass(Asset); },
                        [&Matcher](const FAssetData& Data) { return Matcher.PassesTagsAndPath(Data); },
                        OutAssets);
}

FAssetData FAssetRegistry::GetAssetByObjectPath(const FString& ObjectPath) const
{
    const UObject* Object = StaticFindObject(ObjectPath);
    return IsListedAsset(Object) ? FAssetData(Object) : FAssetData();
}

bool FAssetRegistry::GetAssetsByPackageName(FName PackageName, TArray<FAssetData>& OutAssets) const
{
    return GatherAssets([PackageName](const UObject& Asset)
                        { return Asset.GetOuter()->GetFName() == PackageName; },
                        [](const FAssetData&) { return true; }, OutAssets);
}

bool FAssetRegistry::IsListedAsset(const UObject* Object)
{
    const UPackage* Package = Object ? Cast<UPackage>(Object->GetOuter()) : nullptr;
    return IsValid(Object) && IsValid(Package) && Package != GetTransientPackage() &&
           !Package->GetName().StartsWith("/Script/", ESearchCase::IgnoreCase);
}
