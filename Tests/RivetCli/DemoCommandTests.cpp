#include "CliTestFixture.h"

#include <nlohmann/json.hpp>

#include <filesystem>

using testing::HasSubstr;

TEST(DemoCommandTest, BuildsTheCharacterAndRunsEveryToolOfThisBuildOnACleanFolder)
{
    const FTestFolder Folder;
    const std::string Out = Folder.File("demo").ToStdString();

    const FCliRun Run = RunCli({"--json", "demo", "--out", Out});

    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    const std::string Character = Out + "/RivetDemoCharacter.glb";
    const std::string Slots = Out + "/01-assign-new-material-slot/RivetDemoCharacter.glb";
    const std::string Deleted = Out + "/02-delete-polygons/RivetDemoCharacter.glb";
    const std::string Copied = Out + "/03-detach-polygons/RivetDemoCharacter";
    const std::string Moved = Out + "/04-detach-polygons/RivetDemoCharacter";
    const int32 Before = CountFileTriangles(FString(Character));
    const int32 After = CountFileTriangles(FString(Deleted));
    EXPECT_GT(Before, 1000);
    EXPECT_GT(After, 0);
    EXPECT_LT(After, Before);

    EXPECT_THAT(Run.Err, HasSubstr("\n1. Assign New Material Slot: paint the head into a new slot \"Face\""));
    EXPECT_THAT(Run.Err, HasSubstr("  material slots (4):\n"));
    EXPECT_THAT(Run.Err, HasSubstr("    3 Shoes: 704 triangles"));
    EXPECT_THAT(Run.Err, HasSubstr("note: Moved 256 polygon(s) into slot 4 ('Face').\n"));
    EXPECT_THAT(Run.Err, HasSubstr("note: Deleted 0 slot(s); moved 704 polygon(s). 5 slot(s) left.\n"));
    EXPECT_THAT(Run.Err, HasSubstr("  material slots (5):\n"));
    EXPECT_THAT(Run.Err, HasSubstr("    3 Shoes: 0 triangles")) << "LOD 1 still draws with it";
    EXPECT_THAT(Run.Err, HasSubstr("    4 Face: 256 triangles"));
    EXPECT_THAT(Run.Err, HasSubstr("\n2. Delete Polygons: delete the left hand\n"));
    EXPECT_THAT(Run.Err, HasSubstr("note: Deleted "));
    EXPECT_THAT(Run.Err, HasSubstr("\n3. Detach Polygons: detach the head as a copy"));
    EXPECT_THAT(Run.Err, HasSubstr(Copied + "_Part.glb reads back with LOD 0 256 triangles\n"));
    EXPECT_THAT(Run.Err, HasSubstr("\n4. Detach Polygons: detach the left arm into a part of its own\n"));
    EXPECT_THAT(Run.Err, HasSubstr(Moved + ".glb reads back with LOD 0 4752, LOD 1 1392 triangles\n"));
    EXPECT_THAT(Run.Err, HasSubstr("demo finished: 4 scenarios run, results in " + Out));
    const nlohmann::json Summary = nlohmann::json::parse(Run.Out);
    EXPECT_EQ(Summary["exitCode"], 0);
    EXPECT_EQ(Summary["saved"], nlohmann::json::array({Slots, Deleted, Copied + "_Part.glb", Copied + ".glb",
                                                       Moved + "_Part.glb", Moved + ".glb"}));
}
