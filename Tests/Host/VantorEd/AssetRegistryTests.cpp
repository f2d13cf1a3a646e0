#include "Host/VantorEd/AssetTestFixture.h"

#include "VantorEd/Assets/AssetRegistry.h"

#include <algorithm>

namespace
{
constexpr const char* HeroPath = "/Game/RegistryTests/Characters/Hero.Hero";
constexpr const char* VillainPath = "/Game/RegistryTests/Characters/Villain.Villain";
constexpr const char* CratePath = "/Game/RegistryTests/Props/Crate.Crate";

/**
 * Three listed assets (a mesh and two plain ones in two folders, with tags) and objects that
 * are never listed: a piece inside the hero, a transient object, an object in a script
 * package and a destroyed asset.
 */
class AssetRegistryTest : public AssetTest
{
protected:
    void SetUp() override
    {
        AssetTest::SetUp();
        Hero = MakeAsset<UTestMeshAsset>("/Game/RegistryTests/Characters/Hero");
        Hero->RegistryTags = {{"Skeleton", "S1"}, {"Kind", "Mesh"}};
        Villain = MakeAsset("/Game/RegistryTests/Characters/Villain");
        Villain->RegistryTags = {{"Skeleton", "S2"}};
        Crate = MakeAsset("/Game/RegistryTests/Props/Crate");
        Crate->RegistryTags = {{"Skeleton", "S1"}, {"Kind", "Prop"}};

        Hero->Piece = NewObject<UTestAsset>(Hero, "Piece");
        Transient = NewObject<UTestAsset>();
        Scripted = NewObject<UTestAsset>(CreatePackage("/Script/RegistryTests"), "Scripted");
        Destroyed = MakeAsset("/Game/RegistryTests/Props/Destroyed");
        Destroyed->MarkAsGarbage();
    }

    static TArray<FString> Query(const FAssetFilter& Filter)
    {
        TArray<FAssetData> Assets;
        const bool bFound = FAssetRegistry::Get().GetAssets(Filter, Assets);
        EXPECT_EQ(bFound, !Assets.IsEmpty());
        return ObjectPaths(Assets);
    }

    UTestAsset* Hero = nullptr;
    UTestAsset* Villain = nullptr;
    UTestAsset* Crate = nullptr;
    UTestAsset* Transient = nullptr;
    UTestAsset* Scripted = nullptr;
    UTestAsset* Destroyed = nullptr;
};
} // namespace

TEST_F(AssetRegistryTest, LeavesOutSubobjectsTransientScriptAndDestroyedObjects)
{
    const TArray<FString> Everything = Query(FAssetFilter());
    for (const char* Listed : {HeroPath, VillainPath, CratePath})
    {
        EXPECT_TRUE(Everything.Contains(Listed)) << Listed;
    }
    for (const UObject* Unlisted :
         {static_cast<UObject*>(Hero->Piece.Get()), static_cast<UObject*>(Transient),
          static_cast<UObject*>(Scripted), static_cast<UObject*>(Destroyed),
          static_cast<UObject*>(UTestAsset::StaticClass())})
    {
        const FString Path = Unlisted->GetPathName();
        EXPECT_FALSE(Everything.Contains(Path)) << *Path;
        EXPECT_FALSE(FAssetRegistry::Get().GetAssetByObjectPath(Path).IsValid()) << *Path;
    }
    EXPECT_TRUE(std::is_sorted(Everything.begin(), Everything.end()));
    EXPECT_FALSE(Everything.ContainsByPredicate(
        [](const FString& Path)
        { return Path.StartsWith("/Script/") || Path.StartsWith("/Engine/Transient"); }));
}

TEST_F(AssetRegistryTest, FiltersByTagsFoldersAndClasses)
{
    const FString TestAsset = UTestAsset::StaticClass()->GetPathName();
    const struct
    {
        FAssetFilter Filter;
        TArray<FString> Expected;
        const char* Why;
    } Cases[] = {
        {{.TagsAndValues = {{"Skeleton", "S1"}}}, {HeroPath, CratePath}, "a tag value"},
        {{.TagsAndValues = {{"Skeleton", "S1"}, {"Kind", "Prop"}}},
         {CratePath},
         "every listed tag must match"},
        {{.TagsAndValues = {{"Kind", "Mesh"}, {"Kind", "Prop"}}},
         {HeroPath, CratePath},
         "any value of a tag"},
        {{.TagsAndValues = {{"Kind", "Mesh"}, {"Skeleton", "S2"}}}, {}, "no asset has both"},
        {{.TagsAndValues = {{"Skeleton", "s1"}}}, {}, "values compare exactly"},
        {{.PackagePaths = {"/Game/RegistryTests/Characters"}}, {HeroPath, VillainPath}, "a folder"},
        {{.PackagePaths = {"/Game/RegistryTests"}, .bRecursivePaths = true},
         {HeroPath, VillainPath, CratePath},
         "the folders below too"},
        {{.ClassPaths = {TestAsset},
          .bRecursiveClasses = true,
          .TagsAndValues = {{"Skeleton", "S1"}},
          .PackagePaths = {"/Game/RegistryTests/Characters"}},
         {HeroPath},
         "class, tag and folder together"},
        {{.ClassPaths = {TestAsset},
          .TagsAndValues = {{"Skeleton", "S1"}},
          .PackagePaths = {"/Game/RegistryTests/Characters"}},
         {},
         "the hero is of a subclass"},
    };
    for (const auto& Case : Cases)
    {
        EXPECT_EQ(Query(Case.Filter), Case.Expected) << Case.Why;
    }
}

TEST_F(AssetRegistryTest, AssetDataDescribesTheAssetAndFindsItWhileItLives)
{
    const FAssetData Data(Hero);
    EXPECT_TRUE(Data.IsValid());
    EXPECT_EQ(Data.PackageName, FName("/Game/RegistryTests/Characters/Hero"));
    EXPECT_EQ(Data.PackagePath, FName("/Game/RegistryTests/Characters"));
    EXPECT_EQ(Data.AssetName, FName("Hero"));
    EXPECT_EQ(Data.AssetClassPath, "/Script/HostVantorEdTests.TestMeshAsset");
    EXPECT_EQ(Data.Tags, (TMap<FName, FString>{{"Skeleton", "S1"}, {"Kind", "Mesh"}}));
    EXPECT_EQ(Data.GetObjectPathString(), HeroPath);
    EXPECT_EQ(Data.GetExportTextName(),
              "/Script/HostVantorEdTests.TestMeshAsset'/Game/RegistryTests/Characters/Hero.Hero'");
    EXPECT_EQ(Data.GetTagValue("Kind"), "Mesh");
    EXPECT_EQ(Data.GetTagValue("Missing"), "");
    EXPECT_EQ(Data.GetAsset(), Hero);
    EXPECT_EQ(Data.GetClass(), UTestMeshAsset::StaticClass());
    EXPECT_EQ(Data, FAssetData(Hero));
    EXPECT_NE(Data, FAssetData(Villain));

    Hero->MarkAsGarbage();
    EXPECT_EQ(Data.GetAsset(), nullptr);
    for (const UObject* NotAnAsset :
         {static_cast<UObject*>(nullptr), static_cast<UObject*>(Hero->Piece.Get())})
    {
        EXPECT_EQ(FAssetData(NotAnAsset), FAssetData());
        EXPECT_EQ(FAssetData(NotAnAsset).GetObjectPathString(), "");
    }
}
