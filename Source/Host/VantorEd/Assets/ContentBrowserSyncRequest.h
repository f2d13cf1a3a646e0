#pragma once

#include "Core/Containers/Array.h"
#include "Core/Name/Name.h"
#include "VantorEd/Assets/AssetData.h"

/** One request to show assets in the content browser, with the options it was made with. */
struct FContentBrowserSyncRequest
{
    TArray<FAssetData> Assets;
    bool bAllowLockedBrowsers = false;
    bool bFocusContentBrowser = true;
    FName InstanceName;
    bool bNewSpawnBrowser = false;

    bool operator==(const FContentBrowserSyncRequest& Other) const = default;
};
