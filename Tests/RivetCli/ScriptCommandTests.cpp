#include "CliTestFixture.h"

using testing::HasSubstr;

namespace
{
class ScriptCommandTest : public CliTest
{
protected:
    FCliRun RunScript(const std::string& Text, const char* Out = "out")
    {
        return RunCli({"script", WriteScript("edit.rivet", Text), "--out", Path(Out)});
    }
};

const char* const TwoDeletes = R"(# two deletes, the second taken back
open character.glb

tool Delete Polygons
select slot:Slot_0
press Delete Selected Polygons

tool delete polygons
select "slot:Slot_1"
press Delete Selected Polygons
)";
} // namespace

TEST_F(ScriptCommandTest, RunsSeveralToolsUndoesAndRedoes)
{
    const FCliRun Undone = RunScript(std::string(TwoDeletes) + "undo\n");
    ASSERT_EQ(Undone.ExitCode, 0) << Undone.Err;
    EXPECT_THAT(Undone.Out, HasSubstr("note: Deleted 16 polygon(s).\nundid Delete Polygons\n"));
    EXPECT_EQ(CountFileTriangles(FString(Path("out/character.glb"))), 32);

    const FCliRun Redone = RunScript(std::string(TwoDeletes) + "undo\nundo\nredo\n", "redone");
    ASSERT_EQ(Redone.ExitCode, 0) << Redone.Err;
    EXPECT_THAT(Redone.Out, HasSubstr("redid Delete Polygons"));
    EXPECT_EQ(CountFileTriangles(FString(Path("redone/character.glb"))), 32);

    // With nothing to undo a script warns and goes on.
    const FCliRun Nothing = RunScript("open character.glb\nundo\n", "unchanged");
    EXPECT_EQ(Nothing.ExitCode, 0);
    EXPECT_THAT(Nothing.Err, HasSubstr("rivet: warning: nothing to undo"));
    EXPECT_THAT(Nothing.Out, HasSubstr("nothing changed: no files written"));
}

TEST_F(ScriptCommandTest, AcceptingAToolWritesItsPreviewEditsAsOneStep)
{
    // The Mesh Edits panel edits only the preview; accepting the tool writes it into the asset.
    const FCliRun Run = RunScript("open character.glb\ntool Delete Polygons\nselect tris:0-5\npress Delete\n"
                                  "accept\n");

    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("accepted Delete Polygons"));
    EXPECT_EQ(CountFileTriangles(FString(Path("out/character.glb"))), 42);
}

TEST_F(ScriptCommandTest, MistakesNameTheLineAndStopBeforeAnythingIsWritten)
{
    struct FCase
    {
        std::string Text;
        std::string Error;
    };
    const std::string Script = Path("edit.rivet");
    const FCase Cases[] = {
        {"open character.glb\ntool Delete Polygons\nfrobnicate\n", Script + ":3: unknown step 'frobnicate'"},
        {"tool Delete Polygons\n", Script + ": a script begins by opening the asset to edit"},
        {"open character.glb\naccept now\n", Script + ":2: 'accept' takes no arguments"},
        {"open \"character.glb\n", Script + ":1: a double quote is not closed"},
        {"open character.glb\nopen character.glb\n", Script + ":2: a session edits one asset"},
        {"open character.glb\nset Size = 3\n", Script + ":2: cannot set a property: no tool is active"},
        {"open character.glb\ntick 0\n", Script + ":2: tick takes a number of frames from 1 to 1000"},
        {"open character.glb\ntick 1e3\n", Script + ":2: tick takes a number of frames from 1 to 1000"},
        {"open character.glb\ntool Delete Polygons\nselect tris:0\npress Delete\nundo\n",
         Script + ":5: cannot undo while Delete Polygons is running: accept or cancel it first"},
        {"open missing.glb\n", Script + ":1: " + Path("missing.glb") + ": the file does not exist"},
    };
    for (const FCase& Case : Cases)
    {
        const FCliRun Run = RunScript(Case.Text);
        EXPECT_EQ(Run.ExitCode, 2) << Case.Text;
        EXPECT_THAT(Run.Err, HasSubstr("rivet: error: " + Case.Error));
    }
    EXPECT_EQ(RunCli({"script", Path("none.rivet")}).ExitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(Path("out")));
}
