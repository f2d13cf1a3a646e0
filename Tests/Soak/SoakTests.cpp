#include "Interchange/Interchange.h"
#include "RivetCli/Demo/DemoCharacter.h"
#include "Soak/SoakActions.h"
#include "Soak/SoakRun.h"
#include "Support/TestFiles.h"
#include "Support/TestSkeletalAsset.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>

namespace
{
FSoakAsset MakeTestCharacter(const FTestFolder&)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset({.PackageName = "/Game/Soak/TestCharacter"});
    return {Asset.Mesh, {Asset.Animation}};
}

FSoakAsset MakeDemoCharacter(const FTestFolder&)
{
    const FDemoCharacter Demo = BuildDemoCharacter("/Game/Soak/Demo");
    return {Demo.Mesh, Demo.Animations};
}

/**
 * A larger test character with two LODs and an empty slot, written as glTF and read back; its morph targets
 * have no normal deltas, so that the remesh tool works on it.
 */
FSoakAsset MakeGltfCharacter(const FTestFolder& Folder)
{
    const FTestSkeletalAsset Written = BuildTestSkeletalAsset({.PackageName = "/Game/Soak/Written",
                                                               .QuadsX = 10,
                                                               .QuadsY = 8,
                                                               .bEmptySlot = true,
                                                               .NumLODs = 2,
                                                               .bMorphNormals = false});
    FGltfExportOptions Options;
    Options.Animations.Add(Written.Animation);
    const FString Path = Folder.File("soak-character.glb");
    if (!ExportSkeletalMeshToGltf(*Written.Mesh, Path, Options).bSuccess)
    {
        return {};
    }
    const FInterchangeResult Read = ImportSkinnedMeshFile(Path);
    return Read.bSuccess ? FSoakAsset{Read.Mesh, Read.Animations} : FSoakAsset{};
}

const FSoakAssetKind SoakAssetKinds[] = {
    {"TestCharacter", "test character", MakeTestCharacter},
    {"DemoCharacter", "demo character", MakeDemoCharacter},
    {"GltfCharacter", "glTF character", MakeGltfCharacter},
};

/** A setting from the environment (scripts/soak sets them for long runs), or the test suite's default. */
std::string Setting(const char* Name, const char* Default)
{
    const char* Value = std::getenv(Name);
    return Value && *Value ? Value : Default;
}

using Soak = testing::TestWithParam<FSoakAssetKind>;
} // namespace

/** Test lists show an asset kind by its name. */
void PrintTo(const FSoakAssetKind& Kind, std::ostream* Out)
{
    *Out << Kind.Id;
}

// Random user actions on each asset, for each seed of RIVET_SOAK_SEEDS (a list, default 1), each run
// RIVET_SOAK_ACTIONS steps long (default 120), saving and reading back every RIVET_SOAK_SAVE_EVERY steps.
TEST_P(Soak, RandomUserActionsKeepTheAssetSoundAndEveryUndoExact)
{
    FSoakSettings Settings;
    Settings.Actions = std::stoi(Setting("RIVET_SOAK_ACTIONS", "120"));
    Settings.SaveEvery = std::stoi(Setting("RIVET_SOAK_SAVE_EVERY", "25"));
    Settings.ProgressEvery = Settings.Actions >= 2000 ? 1000 : 0;
    std::istringstream Seeds(Setting("RIVET_SOAK_SEEDS", "1"));
    for (std::string Seed; std::getline(Seeds, Seed, ',');)
    {
        Settings.Seed = static_cast<uint32>(std::stoul(Seed));
        const FString Report = RunSoak(GetParam(), Settings);
        EXPECT_TRUE(Report.IsEmpty()) << *Report;
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, Soak, testing::ValuesIn(SoakAssetKinds),
                         [](const testing::TestParamInfo<FSoakAssetKind>& Info) { return Info.param.Id; });
