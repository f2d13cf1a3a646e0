#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "Interchange/Private/AtomicFileWriter.h"
#include "Support/TestFiles.h"
#include "Support/TestSkeletalAsset.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>

namespace
{
/** Every test starts and ends without a fault hook. */
class AtomicSaveFaults : public testing::Test
{
protected:
    void TearDown() override { SetAtomicWriteFaultHook({}); }

    /** Fails that stage of the write to the file of that leaf name; a write, where it reaches the byte. */
    static void FailAt(EAtomicWriteStage Failing, const char* Leaf, uint64 Byte = 0)
    {
        SetAtomicWriteFaultHook(
            [=](EAtomicWriteStage Stage, const FString& Target, uint64 Offset, uint64 Size)
            {
                return Stage == Failing && (Stage != EAtomicWriteStage::Write || Offset + Size > Byte) &&
                       std::filesystem::path(Target.ToStdString()).filename() == Leaf;
            });
    }

    FTestFolder Folder;
};

std::string RandomBytes(size_t Size, uint32 Seed)
{
    std::mt19937 Random(Seed);
    std::string Bytes(Size, '\0');
    for (char& Byte : Bytes)
    {
        Byte = static_cast<char>(Random());
    }
    return Bytes;
}
} // namespace

TEST_F(AtomicSaveFaults, AFailureAtAnyStageLeavesTheEarlierFileAndNothingElse)
{
    const FString Path = Folder.File("Big.bin");
    WriteBytes(Path, "earlier");
    const std::string Bytes = RandomBytes(3 * (1 << 20) + 17, 1);
    std::mt19937 Random(2);
    const struct
    {
        EAtomicWriteStage Stage;
        uint64 Offset;
        const char* Problem;
    } Cases[] = {
        {EAtomicWriteStage::Open, 0, "Big.bin cannot be created: "},
        {EAtomicWriteStage::Write, 0, "Big.bin could not be written: No space left on device"},
        {EAtomicWriteStage::Write, Random() % Bytes.size(), "Big.bin could not be written: "},
        {EAtomicWriteStage::Write, Bytes.size() - 1, "Big.bin could not be written: "},
        {EAtomicWriteStage::Flush, 0, "Big.bin could not be flushed to disk: "},
        {EAtomicWriteStage::Rename, 0, "Big.bin cannot be replaced: "},
    };
    for (const auto& Case : Cases)
    {
        SCOPED_TRACE(Case.Problem);
        FailAt(Case.Stage, "Big.bin", Case.Offset);
        FString Error;
        EXPECT_FALSE(WriteFileAtomically(Path, Bytes, Error));
        EXPECT_TRUE(Error.StartsWith(Case.Problem)) << *Error;
        EXPECT_TRUE(ReadBytes(Path) == "earlier");
        EXPECT_EQ(Folder.ListFiles(), TArray<FString>{"Big.bin"});
    }

    SetAtomicWriteFaultHook({});
    FString Error;
    ASSERT_TRUE(WriteFileAtomically(Path, Bytes, Error)) << *Error;
    EXPECT_TRUE(ReadBytes(Path) == Bytes);
    EXPECT_EQ(Folder.ListFiles(), TArray<FString>{"Big.bin"});
}

TEST_F(AtomicSaveFaults, AFailedTextSaveKeepsTheEarlierGltfAndBinAsAPair)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset({.PackageName = "/Game/Faults/Pair"});
    const FString Gltf = Folder.File("Pair.gltf");
    ASSERT_TRUE(SavePackageToFile(*Asset.Mesh->GetPackage(), Gltf).bSuccess);
    const std::string EarlierGltf = ReadBytes(Gltf);
    const std::string EarlierBin = ReadBytes(Folder.File("Pair.bin"));
    Asset.Mesh->GetMaterials()[0].MaterialSlotName = FName("Renamed");

    // The .bin is renamed into place first: a failure on the .gltf after it must put the .bin back.
    for (const char* Leaf : {"Pair.bin", "Pair.gltf"})
    {
        for (const EAtomicWriteStage Stage : {EAtomicWriteStage::Open, EAtomicWriteStage::Write,
                                              EAtomicWriteStage::Flush, EAtomicWriteStage::Rename})
        {
            SCOPED_TRACE(testing::Message() << Leaf << " stage " << int(Stage));
            FailAt(Stage, Leaf);
            const FInterchangeWriteResult Result = SavePackageToFile(*Asset.Mesh->GetPackage(), Gltf);
            EXPECT_FALSE(Result.bSuccess);
            EXPECT_TRUE(Result.Error.StartsWith((Gltf + ": " + Leaf).View())) << *Result.Error;
            EXPECT_EQ(ReadBytes(Gltf), EarlierGltf);
            EXPECT_EQ(ReadBytes(Folder.File("Pair.bin")), EarlierBin);
            EXPECT_EQ(Folder.ListFiles(), (TArray<FString>{"Pair.bin", "Pair.gltf"}));
        }
    }
}

TEST_F(AtomicSaveFaults, AFullDiskLeavesTheEarlierFile)
{
    const FString Path = Folder.File("Full.bin");
    WriteBytes(Path, "earlier");
    rlimit Before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &Before), 0);
    const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Small = Before;
    Small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &Small), 0);

    FString Error;
    const bool bWritten = WriteFileAtomically(Path, RandomBytes(1 << 16, 3), Error);

    setrlimit(RLIMIT_FSIZE, &Before);
    std::signal(SIGXFSZ, OldHandler);
    EXPECT_FALSE(bWritten);
    EXPECT_EQ(Error, "Full.bin could not be written: File too large");
    EXPECT_EQ(ReadBytes(Path), "earlier");
    EXPECT_EQ(Folder.ListFiles(), TArray<FString>{"Full.bin"});
}
