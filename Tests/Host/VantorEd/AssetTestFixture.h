#pragma once

#include "Host/VantorEd/AssetTestObjects.h"

#include "CoreUObject/Misc/PackageName.h"
#include "VantorEd/Assets/AssetData.h"

#include <gtest/gtest.h>

/**
 * Destroys the test assets that other tests left before and after each test, so that what the
 * registry lists of the test classes is only what the running test made.
 */
class AssetTest : public testing::Test
{
protected:
    void SetUp() override { DestroyTestAssets(); }
    void TearDown() override { DestroyTestAssets(); }

    static void DestroyTestAssets()
    {
        ForEachObjectOfClass<UTestAsset>([](UTestAsset* Asset) { Asset->MarkAsGarbage(); });
        ForEachObjectOfClass<UUncopyableAsset>([](UUncopyableAsset* Asset) { Asset->MarkAsGarbage(); });
        CollectGarbage();
    }

    /** A standalone asset named after its package, as an importer would make it. */
    template <typename AssetType = UTestAsset>
    static AssetType* MakeAsset(const FString& PackageName)
    {
        return NewObject<AssetType>(CreatePackage(PackageName),
                                    FName(FPackageName::GetShortName(PackageName)),
                                    RF_Public | RF_Standalone);
    }

    /** The registered objects not marked as garbage: those that lookups still find. */
    static int32 CountRegisteredObjects()
    {
        int32 Count = 0;
        FUObjectArray::Get().ForEachObject([&Count](UObject* Object) { Count += IsValid(Object); });
        return Count;
    }

    static TArray<FString> ObjectPaths(const TArray<FAssetData>& Assets)
    {
        TArray<FString> Paths;
        for (const FAssetData& Asset : Assets)
        {
            Paths.Add(Asset.GetObjectPathString());
        }
        return Paths;
    }
};
