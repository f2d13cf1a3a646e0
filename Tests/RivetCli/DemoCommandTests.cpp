#include "CliTestFixture.h"
#include "PngReading.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <regex>

using testing::HasSubstr;
using testing::Not;

namespace
{
/** The page names a before and after picture for every step folder, in step order, and each one decodes. */
void ExpectReportPage(const std::string& Out)
{
    const std::string Page = ReadBytes(FString(Out + "/index.html"));
    EXPECT_THAT(Page, Not(HasSubstr("<script")));
    EXPECT_THAT(Page, HasSubstr("\nnote: Moved 256 polygon(s) into slot 4 ('Face').\n"));
    const std::regex Image("<img src=\"([^\"]+)\"");
    std::vector<std::string> Images;
    for (auto Match = std::sregex_iterator(Page.begin(), Page.end(), Image); Match != std::sregex_iterator();
         ++Match)
    {
        Images.push_back((*Match)[1]);
    }
    std::vector<std::string> StepFolders;
    for (const auto& Entry : std::filesystem::directory_iterator(Out))
    {
        if (Entry.is_directory())
        {
            StepFolders.push_back(Entry.path().filename().string());
        }
    }
    std::sort(StepFolders.begin(), StepFolders.end());
    std::vector<std::string> Expected;
    for (const std::string& Step : StepFolders)
    {
        Expected.insert(Expected.end(), {Step + "/before.png", Step + "/after.png"});
    }
    EXPECT_GE(StepFolders.size(), 2u);
    EXPECT_EQ(Images, Expected);
    for (const std::string& Name : Images)
    {
        FDecodedPng Decoded;
        EXPECT_TRUE(DecodePngFile(Out + "/" + Name, Decoded)) << Name;
        EXPECT_EQ(Decoded.Width, 800);
    }
}
} // namespace

TEST(DemoCommandTest, BuildsTheCharacterAndRunsEveryToolOfThisBuildOnACleanFolder)
{
    const FTestFolder Folder;
    const std::string Out = Folder.File("demo").ToStdString();

    const FCliRun Run = RunCli({"--json", "demo", "--out", Out});

    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    const std::string Character = Out + "/RivetDemoCharacter.glb";
    const std::string Slots = Out + "/01-assign-new-material-slot/RivetDemoCharacter.glb";
    const std::string Baked = Out + "/02-bake-bone-transform/RivetDemoCharacter.glb";
    const std::string Deleted = Out + "/03-delete-polygons/RivetDemoCharacter.glb";
    const std::string Copied = Out + "/04-detach-polygons/RivetDemoCharacter";
    const std::string Moved = Out + "/05-detach-polygons/RivetDemoCharacter";
    const std::string Remeshed = Out + "/06-remesh-polygons/RivetDemoCharacter_MorphPositionsOnly.glb";
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
    EXPECT_THAT(Run.Err, HasSubstr("\n2. Bake Bone Transform: make the character 10 % taller"));
    EXPECT_THAT(Run.Err, HasSubstr("  height 181.0, every bone's reference scale 1\n"));
    EXPECT_THAT(Run.Err, HasSubstr("note: Baked 1 bone(s): 2,840 vertices moved, 1 child bone(s) compensated, 18 "
                                   "bone(s) switched to scaled retargeting, 1 animation(s)"));
    EXPECT_THAT(Run.Err, HasSubstr("note: 0 bone(s) switched to scaled animation retargeting."));
    EXPECT_THAT(Run.Err, HasSubstr("  height 199.1, every bone's reference scale 1\n"));
    EXPECT_THAT(Run.Err, HasSubstr("\n3. Delete Polygons: delete the left hand\n"));
    EXPECT_THAT(Run.Err, HasSubstr("note: Deleted "));
    EXPECT_THAT(Run.Err, HasSubstr("\n4. Detach Polygons: detach the head as a copy"));
    EXPECT_THAT(Run.Err, HasSubstr(Copied + "_Part.glb reads back with LOD 0 256 triangles\n"));
    EXPECT_THAT(Run.Err, HasSubstr("\n5. Detach Polygons: detach the left arm into a part of its own\n"));
    EXPECT_THAT(Run.Err, HasSubstr(Moved + ".glb reads back with LOD 0 4752, LOD 1 1392 triangles\n"));
    EXPECT_THAT(Run.Err, HasSubstr("\n6. Remesh Polygons: remesh the torso evenly at Density 1.0, then again at 0.5"));
    EXPECT_THAT(Run.Err, HasSubstr("(position deltas only)"));
    EXPECT_THAT(Run.Err, HasSubstr("note: Remeshed "));
    EXPECT_GT(CountFileTriangles(FString(Remeshed)), Before);
    EXPECT_THAT(Run.Err, HasSubstr("demo finished: 6 scenarios run, results in " + Out + ", report page " + Out +
                                   "/index.html\n"));
    ExpectReportPage(Out);
    const nlohmann::json Summary = nlohmann::json::parse(Run.Out);
    EXPECT_EQ(Summary["exitCode"], 0);
    EXPECT_EQ(Summary["saved"],
              nlohmann::json::array({Slots, Baked, Deleted, Copied + "_Part.glb", Moved + "_Part.glb",
                                     Moved + ".glb", Remeshed}))
        << "a copy leaves the character as it was, so it is not written again";
    const nlohmann::json& Weights = Summary["skinWeights"];
    EXPECT_EQ(Weights["summingToOne"], Weights["vertices"]);
    EXPECT_GT(Weights["newVertices"], 0);
    EXPECT_EQ(Weights["newSummingToOne"], Weights["newVertices"]);
    ASSERT_EQ(Summary["slowTasks"].size(), 2u) << "one remesh at each density";
    EXPECT_EQ(Summary["slowTasks"][1]["title"], "Remeshing the selected polygons");
    EXPECT_EQ(Summary["slowTasks"][1]["steps"], 10) << "the passes run";
}
