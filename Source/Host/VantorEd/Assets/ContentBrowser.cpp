#include "VantorEd/Assets/ContentBrowser.h"

#include "Core/Modules/ModuleRegistrar.h"

VT_IMPLEMENT_MODULE(FContentBrowser, ContentBrowser);

FContentBrowser& FContentBrowser::Get()
{
    return FModuleManager::Get().LoadModuleChecked<FContentBrowser>("ContentBrowser");
}

void FContentBrowser::SyncBrowserToAssets(const TArray<FAssetData>& Assets, bool bAllowLockedBrowsers,
                                          bool bFocusContentBrowser, FName InstanceName,
                                          bool bNewSpawnBrowser)
{
    SyncHistory.Add(FContentBrowserSyncRequest{Assets, bAllowLockedBrowsers, bFocusContentBrowser,
                                               InstanceName, bNewSpawnBrowser});
    SelectedAssets = Assets;
}

TArray<FAssetData> FContentBrowser::GetSelectedAssets() const
{
    TArray<FAssetData> Shown;
    for (const FAssetData& Asset : SelectedAssets)
    {
        if (Asset.GetAsset())
        {
            Shown.Add(Asset);
        }
    }
    return Shown;
}
