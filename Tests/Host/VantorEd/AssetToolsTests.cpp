#include "Host/VantorEd/AssetTestFixture.h"

#include "Core/Logging/ScopedLogCapture.h"
#include "CoreUObject/Object/WeakObjectPtr.h"
#include "VantorEd/Assets/AssetRegistry.h"
#include "VantorEd/Assets/AssetTools.h"
#include "VantorEd/Logging/LogVantorEd.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

namespace
{
class AssetToolsTest : public AssetTest
{
protected:
    void SetUp() override
    {
        AssetTest::SetUp();
        FTransactionBuffer::Get().Reset();
        Source = MakeAsset("/Game/ToolTests/Hero");
        Source->Values = {1, 2, 3};
        Source->Piece = NewObject<UTestAsset>(Source, "Piece");
        Source->Piece->Piece = Source;
    }
    void TearDown() override
    {
        FTransactionBuffer::Get().Reset();
        AssetTest::TearDown();
    }

    /** The unique package and asset name for the source with the suffix "_Part". */
    static TArray<FString> UniqueName(const FString& Base)
    {
        FString PackageName = "stale";
        FString AssetName = "stale";
        FAssetTools::Get().CreateUniqueAssetName(Base, "_Part", PackageName, AssetName);
        return {PackageName, AssetName};
    }

    static int32 CountWarnings(const FScopedLogCapture& Capture)
    {
        return Capture.CountLines(LogVantorEd.GetCategoryName(), ELogVerbosity::Warning);
    }

    UTestAsset* Source = nullptr;
};
} // namespace

TEST_F(AssetToolsTest, RepeatedDuplicationGetsTheNextFreeNameSkippingPackagesThatExist)
{
    const TArray<FString> Expected[] = {
        {"/Game/ToolTests/Hero_Part", "Hero_Part"},
        {"/Game/ToolTests/Hero_Part_1", "Hero_Part_1"},
        {"/Game/ToolTests/Hero_Part_2", "Hero_Part_2"},
    };
    for (const TArray<FString>& Names : Expected)
    {
        const TArray<FString> Unique = UniqueName("/Game/ToolTests/Hero");
        ASSERT_EQ(Unique, Names);
        ASSERT_NE(
            FAssetTools::Get().DuplicateAsset(Unique[1], FPackageName::GetLongPackagePath(Unique[0]), Source),
            nullptr);
    }

    // Packages that exist, even empty ones, are skipped.
    CreatePackage("/Game/ToolTests/Crate_Part");
    EXPECT_EQ(UniqueName("/Game/ToolTests/Crate"),
              (TArray<FString>{"/Game/ToolTests/Crate_Part_1", "Crate_Part_1"}));
}

TEST_F(AssetToolsTest, DuplicateAssetMakesADirtyPackageWithAnIndependentCopy)
{
    UTestAsset* Copy =
        Cast<UTestAsset>(FAssetTools::Get().DuplicateAsset("Hero_Copy", "/Game/ToolTests/Copies", Source));

    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->GetPathName(), "/Game/ToolTests/Copies/Hero_Copy.Hero_Copy");
    EXPECT_EQ(Copy->GetClass(), UTestAsset::StaticClass());
    EXPECT_EQ(Copy->Values, (TArray<int32>{1, 2, 3}));
    ASSERT_NE(Copy->Piece.Get(), nullptr);
    EXPECT_EQ(Copy->Piece->GetOuter(), Copy) << "the piece is copied along";
    EXPECT_EQ(Copy->Piece->Piece.Get(), Copy);
    EXPECT_TRUE(Copy->GetPackage()->IsDirty());
    EXPECT_FALSE(Source->GetPackage()->IsDirty());
    EXPECT_TRUE(FAssetRegistry::Get().GetAssetByObjectPath(Copy->GetPathName()).IsValid());

    TWeakObjectPtr<UTestAsset> WeakCopy = Copy;
    CollectGarbage();
    EXPECT_TRUE(WeakCopy.IsValid()) << "the new asset is standalone";

    Copy->Values.Add(4);
    EXPECT_EQ(Source->Values, (TArray<int32>{1, 2, 3}));
}

TEST_F(AssetToolsTest, DuplicateAssetRefusesBadRequestsAndCreatesNothing)
{
    UTestAsset* Destroyed = MakeAsset("/Game/ToolTests/Destroyed");
    Destroyed->MarkAsGarbage();
    UTestAsset* Taken = MakeAsset("/Game/ToolTests/Taken");
    Taken->Values = {5};
    UUncopyableAsset* Uncopyable = MakeAsset<UUncopyableAsset>("/Game/ToolTests/Uncopyable");
    UPackage* Existing = CreatePackage("/Game/ToolTests/Existing");
    struct FCase
    {
        const char* AssetName;
        const char* PackagePath;
        UObject* Original;
        const char* Reason;
    };
    const FCase Cases[] = {
        {"", "/Game/ToolTests", Source, "ends with '/'"},
        {"Hero/Copy", "/Game/ToolTests", Source, "the asset name 'Hero/Copy' is not a single name"},
        {"Hero.Copy", "/Game/ToolTests", Source, "invalid character '.'"},
        {"Hero_Copy", "", Source, "needs a root and a name below it"},
        {"Hero_Copy", "/Game/ToolTests", nullptr, "there is no object to copy"},
        {"Hero_Copy", "/Game/ToolTests", Destroyed, "there is no object to copy"},
        {"Taken", "/Game/ToolTests", Source,
         "Cannot duplicate into '/Game/ToolTests/Taken': the package already holds an object named 'Taken'"},
        {"Uncopyable_Copy", "/Game/ToolTests", Uncopyable,
         "Cannot duplicate '/Game/ToolTests/Uncopyable.Uncopyable' into '/Game/ToolTests/Uncopyable_Copy': "
         "it "
         "cannot be copied"},
        {"Existing", "/Game/ToolTests", Uncopyable, "it cannot be copied"},
    };
    const int32 ObjectsBefore = CountRegisteredObjects();
    for (const FCase& Case : Cases)
    {
        FScopedLogCapture Capture;
        EXPECT_EQ(FAssetTools::Get().DuplicateAsset(Case.AssetName, Case.PackagePath, Case.Original), nullptr)
            << Case.Reason;
        EXPECT_EQ(CountWarnings(Capture), 1) << Case.Reason;
        EXPECT_TRUE(Capture.ContainsMessage(LogVantorEd.GetCategoryName(), Case.Reason)) << Case.Reason;
    }
    EXPECT_EQ(CountRegisteredObjects(), ObjectsBefore);
    EXPECT_FALSE(Source->GetPackage()->IsDirty());
    EXPECT_EQ(Taken->Values, (TArray<int32>{5}));
    EXPECT_FALSE(Taken->GetPackage()->IsDirty());
    EXPECT_FALSE(Existing->IsDirty()) << "a package that was there stays as it was";
}

TEST_F(AssetToolsTest, DuplicatingInsideATransactionIsUndoneWithIt)
{
    UObject* Copy = nullptr;
    {
        FScopedTransaction Transaction(FText::FromString("Duplicate"));
        Source->Modify();
        Source->Values.Add(4);
        Copy = FAssetTools::Get().DuplicateAsset("Hero_Part", "/Game/ToolTests", Source);
        EXPECT_EQ(FTransactionBuffer::Get().GetRecordCount(), 4)
            << "the source; the new package, asset and piece";
    }
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(CastChecked<UTestAsset>(Copy)->Values, (TArray<int32>{1, 2, 3, 4}));

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Source->Values, (TArray<int32>{1, 2, 3}));
    TArray<FAssetData> Listed;
    FAssetRegistry::Get().GetAssetsByClass(UTestAsset::StaticClass(), Listed);
    EXPECT_EQ(ObjectPaths(Listed), TArray<FString>{"/Game/ToolTests/Hero.Hero"});

    ASSERT_TRUE(FTransactionBuffer::Get().Redo());
    EXPECT_EQ(FAssetRegistry::Get().GetAssetByObjectPath("/Game/ToolTests/Hero_Part.Hero_Part").GetAsset(),
              Copy);
}
