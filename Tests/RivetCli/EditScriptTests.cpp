#include "RivetCli/Session/EditScript.h"

#include <gtest/gtest.h>

TEST(EditScriptTest, StepsKeepTheirLineAndResolveFilesBesideTheScriptAndABadLineChangesNone)
{
    TArray<FEditStep> Steps;
    FString Error;
    ASSERT_TRUE(ParseEditScript(
        "# edit\n\nopen a.glb \"b c.glb\" /abs/d.glb\n  TOOL  Delete Polygons \n"
        "set  Target Edge Length =  2.5 \nselect slot:0 grow\nTick 3\naccept\npress \"Delete Now\"\n",
        "/x/y/s.rivet", Steps, Error))
        << *Error;

    ASSERT_EQ(Steps.Num(), 7);
    EXPECT_EQ(Steps[0].Kind, EEditStepKind::Open);
    EXPECT_EQ(Steps[0].Arguments, (TArray<FString>{"/x/y/a.glb", "/x/y/b c.glb", "/abs/d.glb"}));
    EXPECT_EQ(Steps[0].Origin, "/x/y/s.rivet:3");
    EXPECT_EQ(Steps[1].Arguments, (TArray<FString>{"Delete Polygons"}));
    EXPECT_EQ(Steps[2].Arguments, (TArray<FString>{"Target Edge Length =  2.5"}));
    EXPECT_EQ(Steps[3].Arguments, (TArray<FString>{"slot:0", "grow"}));
    EXPECT_EQ(Steps[4].Kind, EEditStepKind::Tick);
    EXPECT_EQ(Steps[4].Arguments, (TArray<FString>{"3"}));
    EXPECT_EQ(Steps[5].Kind, EEditStepKind::Accept);
    EXPECT_EQ(Steps[5].Origin, "/x/y/s.rivet:8");
    EXPECT_EQ(Steps[6].Arguments, (TArray<FString>{"Delete Now"}));

    // A bad line leaves the steps untouched.
    EXPECT_FALSE(ParseEditScript("open a.glb\nselect\n", "s.rivet", Steps, Error));
    EXPECT_EQ(Error, "s.rivet:2: 'select' takes an argument");
    EXPECT_FALSE(ParseEditScript("tick 1 2\n", "s.rivet", Steps, Error));
    EXPECT_EQ(Error, "s.rivet:1: 'tick' takes at most one argument");
    EXPECT_EQ(Steps.Num(), 7);
    EXPECT_EQ(Steps[0].Origin, "/x/y/s.rivet:3");
}
