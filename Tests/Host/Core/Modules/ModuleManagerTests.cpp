#include "Core/Logging/LogCore.h"
#include "Core/Logging/ScopedLogCapture.h"
#include "Core/Modules/ModuleRegistrar.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
/** What the test modules did, in order: "+Name" on startup, "-Name" on shutdown. */
std::string GEvents;

template <int Id>
class TRecordingModule : public IModuleInterface
{
public:
    static inline int32 Instances = 0;
    static inline const char* Name = "";

    TRecordingModule() { ++Instances; }
    void StartupModule() override { GEvents += std::string("+") + Name; }
    void ShutdownModule() override { GEvents += std::string("-") + Name; }
    int32 Serial = Instances;
};

using FRivetTestAlpha = TRecordingModule<0>;
using FRivetTestGamma = TRecordingModule<1>;

/** Unloads itself while shutting down, as a careless module might. */
class FRivetTestSelfUnloading : public IModuleInterface
{
public:
    void ShutdownModule() override
    {
        GEvents += "-Self";
        FModuleManager::Get().UnloadModule("RivetTestSelfUnloading");
    }
};

/** Unloads everything this test loaded, even when it fails. */
struct FModuleTestFixture : testing::Test
{
    void SetUp() override
    {
        GEvents.clear();
        FRivetTestAlpha::Name = "Alpha";
        FRivetTestGamma::Name = "Gamma";
    }
    void TearDown() override
    {
        for (const char* Name : {"RivetTestAlpha", "RivetTestGamma"})
        {
            FModuleManager::Get().UnloadModule(Name);
        }
    }
};
} // namespace

VT_IMPLEMENT_MODULE(FRivetTestAlpha, RivetTestAlpha);
VT_IMPLEMENT_MODULE(FRivetTestGamma, RivetTestGamma);
VT_IMPLEMENT_MODULE(FRivetTestSelfUnloading, RivetTestSelfUnloading);

using ModuleManager = FModuleTestFixture;

TEST_F(ModuleManager, LoadMakesAndStartsOnceAndReloadMakesAFreshObject)
{
    FModuleManager& Manager = FModuleManager::Get();
    EXPECT_TRUE(Manager.GetModuleNames().Contains("RivetTestAlpha"));
    EXPECT_TRUE(Manager.IsModuleRegistered("RivetTestGamma"));
    // Registration alone, or asking for a module, does not load it.
    EXPECT_EQ(Manager.GetModulePtr<FRivetTestGamma>("RivetTestGamma"), nullptr);
    EXPECT_FALSE(Manager.IsModuleLoaded("RivetTestGamma"));

    IModuleInterface* First = Manager.LoadModule("RivetTestAlpha");
    ASSERT_NE(First, nullptr);
    EXPECT_EQ(Manager.LoadModule("rivettestalpha"), First);
    EXPECT_EQ(&Manager.LoadModuleChecked<FRivetTestAlpha>("RivetTestAlpha"), First);
    EXPECT_EQ(Manager.GetModulePtr<FRivetTestGamma>("RivetTestAlpha"), nullptr);

    const int32 FirstSerial = static_cast<FRivetTestAlpha*>(First)->Serial;
    EXPECT_TRUE(Manager.UnloadModule("RivetTestAlpha"));
    EXPECT_FALSE(Manager.IsModuleLoaded("RivetTestAlpha"));
    EXPECT_FALSE(Manager.UnloadModule("RivetTestAlpha"));
    EXPECT_NE(Manager.LoadModuleChecked<FRivetTestAlpha>("RivetTestAlpha").Serial, FirstSerial);
    EXPECT_EQ(GEvents, "+Alpha-Alpha+Alpha");
}

TEST_F(ModuleManager, UnknownModuleGivesNullAndWarns)
{
    FScopedLogCapture Capture;
    EXPECT_EQ(FModuleManager::Get().LoadModule("RivetTestMissing"), nullptr);
    EXPECT_EQ(FModuleManager::Get().GetModulePtr<FRivetTestAlpha>("RivetTestMissing"), nullptr);
    EXPECT_EQ(Capture.CountLines(LogCore.GetCategoryName(), ELogVerbosity::Warning), 1);
    EXPECT_TRUE(Capture.ContainsMessage(LogCore.GetCategoryName(), "RivetTestMissing"));
}

TEST_F(ModuleManager, UnloadingDuringShutdownDoesNotShutDownTwice)
{
    ASSERT_NE(FModuleManager::Get().LoadModule("RivetTestSelfUnloading"), nullptr);
    EXPECT_TRUE(FModuleManager::Get().UnloadModule("RivetTestSelfUnloading"));
    EXPECT_EQ(GEvents, "-Self");
    EXPECT_FALSE(FModuleManager::Get().IsModuleLoaded("RivetTestSelfUnloading"));
}

TEST(ModuleManagerDeathTest, CheckedLoadOfUnknownModuleStops)
{
    EXPECT_DEATH(FModuleManager::Get().LoadModuleChecked<FRivetTestAlpha>("RivetTestMissing"),
                 "RivetTestMissing");
}
