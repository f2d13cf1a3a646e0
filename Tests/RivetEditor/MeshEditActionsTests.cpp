#include "TestSelectionTools.h"

#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Reflection/Class.h"
#include "CoreUObject/Reflection/Function.h"
#include "RivetEditor/Private/Tools/RivetMeshEditActions.h"

#include <gtest/gtest.h>

namespace
{
struct FExpectedButton
{
    const char* Function;
    /** Null where the panel shows the function's name. */
    const char* DisplayName;
    const char* Priority;
    const char* ToolTip;
    int32 PostedAction;
};

const FExpectedButton ExpectedButtons[] = {
    {"Delete", "Delete", "1", "Delete the selected triangles", 11},
    {"Disconnect", "Disconnect", "3",
     "Disconnected the selected triangles from their neighbours, to create mesh boundaries along the "
     "selection borders",
     12},
    {"FlipNormals", "Flip Normals", "4",
     "Flip the normals of the selected triangles. This will create hard normals at selection borders.", 15},
    {"CreatePolygroup", "Create Polygroup", "5",
     "Assign a new unique Polygroup index to the selected triangles", 16},
    {"SmoothBorder", nullptr, "12", "Smooth the selection border", 17},
};

const FFunction& FindButton(const char* Name)
{
    const FFunction* Function = URivetMeshEditActions::StaticClass()->FindFunctionByName(FName(Name));
    VT_CHECKF(Function != nullptr, "no function %s", Name);
    return *Function;
}
} // namespace

TEST(MeshEditActions, IsAnActionPanelWithoutStateOfItsOwnAndFiveButtonsInTheMeshEditsCategory)
{
    const UClass* Class = URivetMeshEditActions::StaticClass();
    EXPECT_EQ(Class->GetSuperClass(), UMeshSelectionToolActionPropertySet::StaticClass());
    EXPECT_EQ(
        Class->GetMetaDataText("ToolTip"),
        "The `Mesh Edits` panel for the Rivet selection tools: Delete, Disconnect, Flip Normals, Create "
        "Polygroup and Smooth Border.");
    EXPECT_EQ(Class->GetProperties().Num(), Class->GetSuperClass()->GetProperties().Num());
    EXPECT_EQ(Class->GetFunctions().Num(), Class->GetSuperClass()->GetFunctions().Num() + 5);
    for (const FExpectedButton& Expected : ExpectedButtons)
    {
        SCOPED_TRACE(Expected.Function);
        const FFunction& Button = FindButton(Expected.Function);
        EXPECT_EQ(Button.GetMetaData("CallInEditor"), "true");
        EXPECT_EQ(Button.GetMetaData("Category"), "MeshEdits");
        EXPECT_EQ(Button.GetMetaData("DisplayPriority"), Expected.Priority);
        EXPECT_EQ(Button.GetMetaData("ToolTip"), Expected.ToolTip);
        EXPECT_EQ(Button.HasMetaData("DisplayName"), Expected.DisplayName != nullptr);
        EXPECT_EQ(Button.GetMetaData("DisplayName"), Expected.DisplayName ? Expected.DisplayName : "");
    }
}

TEST(MeshEditActions, EachButtonHandsItsOneActionToTheParentToolUntilTheToolEnds)
{
    UActionRecordingTool* Tool = NewObject<UActionRecordingTool>(GetTransientPackage());
    Tool->Setup();
    URivetMeshEditActions* Panel = URivetMeshEditActions::CreateFor(Tool);
    EXPECT_EQ(Panel->GetParentTool(), Tool);

    for (const FExpectedButton& Expected : ExpectedButtons)
    {
        SCOPED_TRACE(Expected.Function);
        Tool->Applied.Reset();
        FindButton(Expected.Function).Invoke(Panel);
        EXPECT_TRUE(Tool->Applied.IsEmpty()) << "the tool applies it on its tick";
        Tool->OnTick(0.0f);
        ASSERT_EQ(Tool->Applied.Num(), 1);
        EXPECT_EQ(static_cast<int32>(Tool->Applied[0]), Expected.PostedAction);
    }

    // A button of an ended tool does nothing.
    Tool->MarkAsGarbage();
    Panel->Delete();
    EXPECT_EQ(Panel->GetParentTool(), nullptr);
    EXPECT_FALSE(Tool->HasPendingAction());
}
