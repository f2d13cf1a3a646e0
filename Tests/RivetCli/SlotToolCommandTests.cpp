#include "CliTestFixture.h"

#include "RivetCli/Session/PropertyOptions.h"

using testing::HasSubstr;

namespace
{
const std::string AssignTool = "Assign New Material Slot";

TEST(PropertyOptionTest, AnOptionIsNamedInFullByItsKeyOrByItsName)
{
    const TArray<FString> Options = {"0: Skin  (10 polys)", "1: Shirt  (8 polys)", "2: 1  (0 polys)",
                                     "3: Twin  (1 polys)", "4: twin  (2 polys)"};
    const std::pair<const char*, const char*> Cases[] = {
        {"1: Shirt  (8 polys)", "1: Shirt  (8 polys)"},
        {" 1 ", "1: Shirt  (8 polys)"},
        {"SHIRT", "1: Shirt  (8 polys)"},
        {"2", "2: 1  (0 polys)"},
        {"Twin", ""},
        {"Trousers", ""},
        {"1: Shirt", ""},
        {"", ""},
    };
    for (const auto& [Value, Expected] : Cases)
    {
        EXPECT_EQ(ResolvePropertyOption(Options, Value), Expected) << Value;
    }
}

TEST_F(CliTest, APaintedRegionMovesIntoANewSlotOnAccept)
{
    const FCliRun Run = RunCli({"run", Character, "--tool", AssignTool, "--select", "bone:Head:0.2", "--set",
                                "Slot Name=Face", "--accept", "--out", Path("out")});

    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("note: Moved 24 polygon(s) into slot 3 ('Face').\n"));
    const FCliRun Info = RunCli({"info", Path("out/character.glb")});
    EXPECT_THAT(Info.Out, HasSubstr("    3 Face: 24 triangles, material M_Slot_"));
    EXPECT_THAT(Info.Out, HasSubstr("  LOD0 material map: empty\n"));
}

TEST_F(CliTest, SlotPickersTakeAnIndexANameOrAnOption)
{
    const FCliRun Run = RunCli({"run", Character, "--tool", AssignTool, "--set", "Slot To Delete=1", "--set",
                                "Merge Into Slot=slot_2", "--press", "Delete Slot", "--out", Path("out")});

    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("set Slot To Delete = 1: Slot_1  (16 polys)\n"));
    EXPECT_THAT(Run.Out, HasSubstr("set Merge Into Slot = 2: Slot_2  (16 polys)\n"));
    EXPECT_THAT(Run.Out, HasSubstr("note: Deleted 1 slot(s); moved 16 polygon(s). 2 slot(s) left.\n"));
    EXPECT_THAT(RunCli({"info", Path("out/character.glb")}).Out, HasSubstr("    1 Slot_2: 32 triangles"));
}

TEST_F(CliTest, AChoiceThatIsNoOptionIsRefusedWithTheOptions)
{
    const FCliRun Run = RunCli({"run", Character, "--tool", AssignTool, "--set", "Merge Into Slot=Shoes",
                                "--press", "Delete Slot", "--out", Path("out")});

    EXPECT_EQ(Run.ExitCode, 2);
    EXPECT_THAT(Run.Err,
                HasSubstr("cannot set 'Merge Into Slot': 'Shoes' is not one of its options: '0: Slot_0  "
                          "(16 polys)', '1: Slot_1  (16 polys)', '2: Slot_2  (16 polys)'"));
    EXPECT_THAT(Run.Out, testing::Not(HasSubstr("pressed")));
}
} // namespace
