#include "CliTestFixture.h"

#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Object/UObjectGlobals.h"

#include <nlohmann/json.hpp>

#include <filesystem>

using testing::HasSubstr;

namespace
{
int32 CountPackages()
{
    int32 Count = 0;
    ForEachObjectOfClass<UPackage>([&Count](UPackage*) { ++Count; });
    return Count;
}

const std::string DeleteButton = "Delete Selected Polygons";

class RunCommandTest : public CliTest
{
protected:
    /** rivet run on the character with the Delete Polygons tool and the extra arguments. */
    FCliRun RunDelete(std::vector<std::string> Extra)
    {
        std::vector<std::string> Args = {"run", Character, "--tool", "Delete Polygons"};
        Args.insert(Args.end(), Extra.begin(), Extra.end());
        return RunCli(Args);
    }

    /** Nothing written: the input is as it was and no output folder appeared. */
    void ExpectNothingWritten(const std::string& InputBefore)
    {
        EXPECT_EQ(ReadBytes(FString(Character)), InputBefore);
        EXPECT_FALSE(std::filesystem::exists(Path("character_rivet")));
        EXPECT_FALSE(std::filesystem::exists(Path("out")));
    }
};
} // namespace

TEST_F(RunCommandTest, DeletesPaintedPolygonsAndSavesBesideTheUntouchedInputSummingUpInJson)
{
    const std::string InputBefore = ReadBytes(FString(Character));
    const int32 PackagesBefore = CountPackages();

    // With --json the summary is the only output and what is shown goes to the error stream; -v adds the log.
    const FCliRun Run = RunCli({"--json", "-v", "run", Character, "--tool", "Delete Polygons", "--select",
                                "slot:Slot_0", "--press", DeleteButton, "--out", Path("out")});

    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_EQ(CountPackages(), PackagesBefore) << "the session frees what it read and made";
    EXPECT_THAT(Run.Err, HasSubstr("selected 16 of 48 preview triangles\n"));
    EXPECT_THAT(Run.Err, HasSubstr("\nnote: Deleted 16 polygon(s).\n"));
    EXPECT_THAT(Run.Err, HasSubstr("saved " + Path("out/character.glb")));
    EXPECT_THAT(Run.Err, HasSubstr("log: LogRivetEditor: Display: [RivetEditor] Deleted: 16 triangles"));
    EXPECT_EQ(CountFileTriangles(FString(Path("out/character.glb"))), 32);
    EXPECT_EQ(ReadBytes(FString(Character)), InputBefore);
    const nlohmann::json Summary = nlohmann::json::parse(Run.Out);
    EXPECT_EQ(Summary["exitCode"], 0);
    EXPECT_EQ(Summary["messages"].back()["level"], "note");
    EXPECT_EQ(Summary["messages"].back()["text"], "Deleted 16 polygon(s).");
    EXPECT_EQ(Summary["saved"][0], Path("out/character.glb"));
    EXPECT_EQ(Summary["asset"]["lods"][0]["triangles"], 32);
    EXPECT_EQ(Summary["log"][0],
              "LogRivetEditor: Display: [RivetEditor] Deleted: 16 triangles, 10 vertices, 10 "
              "vertex instances");
}

TEST_F(RunCommandTest, WithoutOutEachRunWritesANewFolderBesideTheInput)
{
    const std::vector<std::string> Delete = {"--select", "tris:0-3", "--press", DeleteButton};

    ASSERT_EQ(RunDelete(Delete).ExitCode, 0);
    ASSERT_EQ(RunDelete(Delete).ExitCode, 0);

    EXPECT_EQ(CountFileTriangles(FString(Path("character_rivet/character.glb"))), 44);
    EXPECT_EQ(CountFileTriangles(FString(Path("character_rivet_2/character.glb"))), 44);
}

TEST_F(RunCommandTest, InPlaceOverwritesTheInputOnlyWhenAskedAndOnlyGltf)
{
    ASSERT_EQ(RunDelete({"--select", "slot:1", "--press", DeleteButton, "--in-place"}).ExitCode, 0);

    EXPECT_EQ(CountFileTriangles(FString(Character)), 32);
    EXPECT_FALSE(std::filesystem::exists(Path("character_rivet")));

    // Files rivet cannot write are refused.
    const FCliRun Run = RunCli({"run", Path("character.fbx"), "--tool", "Delete Polygons", "--in-place"});

    EXPECT_EQ(Run.ExitCode, 2);
    EXPECT_THAT(Run.Err, HasSubstr("character.fbx: cannot be written in place: rivet writes glTF 2.0"));
}

TEST_F(RunCommandTest, ARefusingToolExitsWithOneSaysWhyAndWritesNothingAlsoInPlace)
{
    const std::string InputBefore = ReadBytes(FString(Character));
    for (const char* Where : {"--out", "--in-place"})
    {
        SCOPED_TRACE(Where);
        std::vector<std::string> Args = {"--select", "all", "--press", DeleteButton, Where};
        if (std::string(Where) == "--out")
        {
            Args.push_back(Path("out"));
        }
        const FCliRun Run = RunDelete(Args);

        EXPECT_EQ(Run.ExitCode, 1);
        EXPECT_THAT(Run.Out,
                    HasSubstr("\nwarning: Nothing was deleted. Selecting every polygon would leave an "
                              "empty mesh.\n"));
        EXPECT_THAT(Run.Out, HasSubstr("nothing changed: no files written\n"));
        ExpectNothingWritten(InputBefore);
    }
}

TEST_F(RunCommandTest, AnEmptySelectionIsPointedOutWhereItHappens)
{
    const FCliRun Run = RunDelete({"--select", "box:1000,1000,1000,1001,1001,1001", "--press", DeleteButton});

    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_THAT(Run.Out, HasSubstr("selected 0 of 48 preview triangles\n"));
    EXPECT_THAT(Run.Err, HasSubstr("rivet: warning: the selection is empty: no triangle matched, so a button "
                                   "that acts on the selection will refuse\n"));
}

TEST_F(RunCommandTest, OutputNamesTooLongForTheFileSystemAreRefusedBeforeAFolderIsMade)
{
    // The input's name fits; the folder beside it would be "<stem>_rivet", past 255 bytes.
    const std::string Long = Path((std::string(250, 'n') + ".glb").c_str());
    std::filesystem::copy_file(Character, Long);

    const FCliRun Run =
        RunCli({"run", Long, "--tool", "Delete Polygons", "--select", "slot:0", "--press", DeleteButton});

    EXPECT_EQ(Run.ExitCode, 2);
    EXPECT_THAT(Run.Err,
                HasSubstr("rivet: error: " + Long + ": the output folder name '" + std::string(250, 'n') +
                          "_rivet' is too long for the file system (256 bytes, at most 255); choose a "
                          "folder with --out\n"));
    EXPECT_EQ(Folder.ListFiles().Num(), 2) << "only the character and its long copy";
}

TEST_F(RunCommandTest, BadArgumentsAndFilesExitWithTwoAndWriteNothing)
{
    const std::string InputBefore = ReadBytes(FString(Character));
    struct FCase
    {
        std::vector<std::string> Extra;
        std::string Error;
    };
    const FCase Cases[] = {
        {{"--select", "slot:Eyes", "--out", Path("out")}, "no material slot 'Eyes'"},
        {{"--select", "tris:9000"}, "9000"},
        {{"--select", "frobnicate"}, "frobnicate"},
        {{"--set", "Colour=red"}, "cannot set 'Colour': the tool has no property 'Colour'"},
        {{"--set", "Colour"}, "expected NAME=VALUE, got 'Colour'"},
        {{"--press", "Explode"}, "cannot press 'Explode': the tool has no button 'Explode'"},
        {{"--select", "slot:0", "--press", DeleteButton, "--out", Path(".")},
         "character.glb: saving there would overwrite an opened file"},
    };
    for (const FCase& Case : Cases)
    {
        const FCliRun Run = RunDelete(Case.Extra);
        EXPECT_EQ(Run.ExitCode, 2) << Case.Error;
        EXPECT_THAT(Run.Err, HasSubstr("rivet: error: ")) << Case.Error;
        EXPECT_THAT(Run.Err, HasSubstr(Case.Error));
        ExpectNothingWritten(InputBefore);
    }
}

TEST_F(RunCommandTest, ToolsAreFoundByAnySpellingOfTheirNameAndUnknownOnesAreNamed)
{
    EXPECT_EQ(RunCli({"run", Character, "--tool", "delete-polygons", "--cancel"}).ExitCode, 0);
    EXPECT_EQ(RunCli({"run", Character, "--tool", "BeginDeletePolygonsTool", "--cancel"}).ExitCode, 0);

    const FCliRun Unknown = RunCli({"run", Character, "--tool", "Sculpt"});
    EXPECT_EQ(Unknown.ExitCode, 2);
    EXPECT_THAT(Unknown.Err,
                HasSubstr("no tool 'Sculpt' (tools: Assign New Material Slot, Bake Bone Transform, Delete "
                          "Polygons, Detach Polygons, Remesh Polygons)"));
}

TEST_F(RunCommandTest, CommandLineMistakesAndUnreadableFilesExitWithTwoAndHelpWithZero)
{
    WriteBytes(Folder.File("broken.glb"), "glTF but not really");
    const std::pair<std::vector<std::string>, std::string> Cases[] = {
        {{}, ""},
        {{"frobnicate"}, ""},
        {{"run", Character}, ""},
        {{"run", Character, "--tool", "Delete Polygons", "--accept", "--cancel"}, ""},
        {{"run", Path("nowhere.glb"), "--tool", "Delete Polygons"},
         "rivet: error: " + Path("nowhere.glb") + ": "},
        {{"run", Path("broken.glb"), "--tool", "Delete Polygons"}, Path("broken.glb") + ": "},
    };
    for (const auto& [Args, Error] : Cases)
    {
        const FCliRun Run = RunCli(Args);
        EXPECT_EQ(Run.ExitCode, 2) << Error;
        EXPECT_THAT(Run.Err, HasSubstr(Error));
    }

    const FCliRun Json = RunCli({"--json", "frobnicate"});
    EXPECT_EQ(Json.ExitCode, 2);
    EXPECT_EQ(nlohmann::json::parse(Json.Out)["exitCode"], 2);

    const FCliRun Help = RunCli({"run", "--help"});
    EXPECT_EQ(Help.ExitCode, 0);
    EXPECT_THAT(Help.Out, HasSubstr("--select"));
    EXPECT_THAT(Help.Out, HasSubstr("bone:NAME[:MINWEIGHT]"));
}

TEST_F(RunCommandTest, UndoAfterTheToolLeavesNothingToSave)
{
    const FCliRun Run = RunDelete({"--select", "slot:Slot_2", "--press", DeleteButton, "--undo"});

    EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("undid Delete Polygons\nnothing changed: no files written\n"));
    EXPECT_FALSE(std::filesystem::exists(Path("character_rivet")));
}
