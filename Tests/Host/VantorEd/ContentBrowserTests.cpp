#include "Host/VantorEd/AssetTestFixture.h"

#include "Core/Modules/ModuleManager.h"
#include "VantorEd/Assets/ContentBrowser.h"

namespace
{
class ContentBrowserTest : public AssetTest
{
protected:
    void SetUp() override
    {
        AssetTest::SetUp();
        // A fresh module: no history and no selection from other tests.
        FModuleManager::Get().UnloadModule("ContentBrowser");
    }
};
} // namespace

TEST_F(ContentBrowserTest, RecordsEverySyncWithItsOptionsAndSelectsTheLatestAssets)
{
    const FAssetData Hero(MakeAsset("/Game/BrowserTests/Hero"));
    const FAssetData Crate(MakeAsset("/Game/BrowserTests/Crate"));
    FContentBrowser& Browser = FContentBrowser::Get();
    EXPECT_TRUE(Browser.GetSyncHistory().IsEmpty());
    EXPECT_TRUE(Browser.GetSelectedAssets().IsEmpty());

    Browser.SyncBrowserToAssets({Hero});
    Browser.SyncBrowserToAssets({Hero, Crate}, true, false, "Browser2", true);

    const TArray<FContentBrowserSyncRequest> Expected = {
        {{Hero}, false, true, NAME_None, false},
        {{Hero, Crate}, true, false, "Browser2", true},
    };
    EXPECT_EQ(Browser.GetSyncHistory(), Expected);
    EXPECT_EQ(Browser.GetSelectedAssets(), (TArray<FAssetData>{Hero, Crate}));

    Browser.SyncBrowserToAssets({});
    EXPECT_EQ(Browser.GetSyncHistory().Num(), 3);
    EXPECT_TRUE(Browser.GetSelectedAssets().IsEmpty());
}
