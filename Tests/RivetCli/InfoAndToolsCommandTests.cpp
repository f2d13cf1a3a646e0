#include "CliTestFixture.h"

#include <nlohmann/json.hpp>

using testing::HasSubstr;
using testing::Not;

namespace
{
class InfoCommandTest : public CliTest
{
};
} // namespace

TEST_F(InfoCommandTest, DescribesTheAssetAsTheToolsSeeIt)
{
    const FCliRun Run = RunCli({"info", Character});

    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    for (const char* Line :
         {"  LOD 0: 48 triangles, 35 vertices, 3 sections\n", "  material slots (3):\n",
          "    1 Slot_1: 16 triangles, material M_Slot_1\n", "  LOD0 material map: empty\n",
          "  bones (4):\n    Root\n      Spine\n        Arm\n        Head\n",
          "  morph targets (2): Smile, Frown\n", "    Weapon on Arm (mesh)\n", "    Hat on Head (skeleton)\n",
          "    constraint Arm - Spine\n", "  animations (1):\n"})
    {
        EXPECT_THAT(Run.Out, HasSubstr(Line));
    }
}

TEST_F(InfoCommandTest, JsonListsEveryFileAndAnUnreadableOneFailsTheCommand)
{
    WriteBytes(Folder.File("empty.glb"), "");

    const FCliRun Run = RunCli({"--json", "info", Character, Path("empty.glb")});

    EXPECT_EQ(Run.ExitCode, 2);
    EXPECT_THAT(Run.Err, HasSubstr("rivet: error: " + Path("empty.glb") + ": "));
    const nlohmann::json Summary = nlohmann::json::parse(Run.Out);
    ASSERT_EQ(Summary["assets"].size(), 1u);
    const nlohmann::json& Asset = Summary["assets"][0];
    EXPECT_EQ(Asset["file"], Character);
    EXPECT_EQ(Asset["materialSlots"][2]["triangles"], 16);
    EXPECT_EQ(Asset["bones"][2]["parent"], "Spine");
    EXPECT_EQ(Asset["physicsAsset"]["bodies"].size(), 3u);
    EXPECT_EQ(Asset["animations"][0]["keys"], 3);
    EXPECT_EQ(Summary["errors"].size(), 1u);
}

TEST(ToolsCommandTest, ListsTheSectionsToolsPanelsAndButtonsThroughReflection)
{
    const FCliRun Run = RunCli({"tools"});

    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_THAT(Run.Out,
                HasSubstr("  Delete Polygons (BeginDeletePolygonsTool): Delete the selected polygons"));
    EXPECT_THAT(Run.Out, HasSubstr("      button \"Delete Selected Polygons\" (DeleteNow): "));
    EXPECT_THAT(Run.Out, HasSubstr("    panel RivetMeshEditActions"));
    EXPECT_THAT(Run.Out, HasSubstr("      button \"Flip Normals\" (FlipNormals)"));
    EXPECT_THAT(Run.Out, HasSubstr("      button \"Detach Selected Polygons\" (DetachNow): "));
    EXPECT_THAT(Run.Out, HasSubstr("  Remesh Polygons (BeginRemeshTool): "));
    EXPECT_THAT(Run.Out, Not(HasSubstr("not available in this build")));

    const nlohmann::json Sections = nlohmann::json::parse(RunCli({"--json", "tools"}).Out)["sections"];
    EXPECT_EQ(Sections[0]["tools"].size(), 5u);
    EXPECT_EQ(Sections[0]["tools"][2]["panels"][0]["buttons"][0]["displayName"], "Delete Selected Polygons");
}
