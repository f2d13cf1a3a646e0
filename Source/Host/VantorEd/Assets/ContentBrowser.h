#pragma once

#include "Core/Containers/Array.h"
#include "Core/Modules/ModuleInterface.h"
#include "VantorEd/Assets/AssetData.h"
#include "VantorEd/Assets/ContentBrowserSyncRequest.h"

/**
 * The module "ContentBrowser". There is no window to show: every sync request is kept in a
 * history, oldest first, for tests and the command-line editor to read, and the assets of the
 * latest request are the current selection. The browser shows only assets that exist: one taken away
 * (undoing its making, say) leaves the selection, and comes back into it with its redo.
 */
class FContentBrowser : public IModuleInterface
{
public:
    /** The module, loaded by name on first use. */
    static FContentBrowser& Get();

    /** Shows the assets and selects them. */
    void SyncBrowserToAssets(const TArray<FAssetData>& Assets, bool bAllowLockedBrowsers = false,
                             bool bFocusContentBrowser = true, FName InstanceName = NAME_None,
                             bool bNewSpawnBrowser = false);

    const TArray<FContentBrowserSyncRequest>& GetSyncHistory() const { return SyncHistory; }
    /** The assets of the latest sync that exist now. */
    TArray<FAssetData> GetSelectedAssets() const;

private:
    TArray<FContentBrowserSyncRequest> SyncHistory;
    TArray<FAssetData> SelectedAssets;
};
