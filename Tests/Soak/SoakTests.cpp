#include "Soak/SoakAssets.h"
#include "Soak/SoakRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>

namespace
{
/** A setting from the environment (scripts/soak sets them for long runs), or the default of the test suite. */
std::string Setting(const char* Name, const char* Default)
{
    const char* Value = std::getenv(Name);
    return Value && *Value ? Value : Default;
}

class Soak : public testing::TestWithParam<FSoakAssetKind>
{
};
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
