#include "RecordingTool.h"

#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Reflection/PropertyAccess.h"
#include "Support/Tools/SampleSelectionTool.h"

#include <gtest/gtest.h>

namespace
{
class InteractiveToolManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Manager = NewObject<UInteractiveToolManager>(GetTransientPackage());
        Builder = NewObject<URecordingToolBuilder>(GetTransientPackage());
        State.ToolManager = Manager;
    }

    URecordingTool* Begin() { return Cast<URecordingTool>(Manager->BeginTool(Builder, State)); }

    UInteractiveToolManager* Manager = nullptr;
    URecordingToolBuilder* Builder = nullptr;
    FToolBuilderState State;
};
} // namespace

TEST_F(InteractiveToolManagerTest, ARunningToolIsSetUpTickedAndShutDownOnceThenIsGarbage)
{
    URecordingTool* Tool = Begin();
    ASSERT_NE(Tool, nullptr);
    const TWeakObjectPtr<URecordingTool> Weak(Tool);
    EXPECT_EQ(Tool->GetOuter(), Manager);
    EXPECT_EQ(Tool->GetToolManager(), Manager);
    EXPECT_EQ(Tool->SetupCalls, 1);
    EXPECT_EQ(Manager->GetActiveTool(), Tool);

    Manager->Tick(0.1f);
    Manager->Tick(0.1f);
    EXPECT_EQ(Tool->TickCalls, 2);

    Manager->EndTool(EToolShutdownType::Cancel);
    EXPECT_EQ(Tool->ShutdownType, EToolShutdownType::Cancel);
    EXPECT_FALSE(Manager->HasActiveTool());
    EXPECT_TRUE(Weak.IsStale());
}

TEST_F(InteractiveToolManagerTest, StartingAnotherToolEndsTheActiveOneFirstUnlessItCannotBeBuilt)
{
    URecordingTool* First = Begin();
    First->bHasAccept = true;
    URecordingTool* Second = Begin();
    EXPECT_EQ(First->ShutdownType, EToolShutdownType::Accept);

    Builder->bCanBuild = false;
    EXPECT_EQ(Manager->BeginTool(Builder, State), nullptr);
    EXPECT_EQ(Manager->BeginTool(nullptr, State), nullptr);
    EXPECT_EQ(Manager->GetActiveTool(), Second);
    EXPECT_FALSE(Second->ShutdownType.has_value());

    Builder->bCanBuild = true;
    URecordingTool* Third = Begin();
    EXPECT_EQ(Second->ShutdownType, EToolShutdownType::Completed);
    EXPECT_EQ(Manager->GetActiveTool(), Third);
}

TEST_F(InteractiveToolManagerTest,
       AShutdownRequestIsCarriedOutAfterTheTickThatMadeItOrTheNextOneAndAnUnexpectedOneWarns)
{
    URecordingTool* Tool = Begin();
    Tool->bRequestShutdownOnTick = true;
    Manager->Tick(0.1f);
    EXPECT_EQ(Tool->TicksAtShutdown, 1);
    EXPECT_EQ(Tool->ShutdownType, EToolShutdownType::Completed);
    EXPECT_FALSE(Manager->HasActiveTool());

    URecordingTool* Waiting = Begin();
    Manager->PostActiveToolShutdownRequest(Waiting, EToolShutdownType::Accept);
    EXPECT_TRUE(Manager->HasActiveTool());
    EXPECT_TRUE(Manager->HasPendingShutdownRequest());
    Manager->Tick(0.1f);
    EXPECT_EQ(Waiting->TicksAtShutdown, 1);
    EXPECT_EQ(Waiting->ShutdownType, EToolShutdownType::Accept);
    EXPECT_TRUE(Manager->GetMessageHistory().IsEmpty());

    URecordingTool* Closed = Begin();
    Manager->PostActiveToolShutdownRequest(Closed, EToolShutdownType::Cancel, true,
                                           FText::FromString("The asset was closed."));
    Manager->Tick(0.1f);
    ASSERT_EQ(Manager->GetMessageHistory().Num(), 1);
    EXPECT_EQ(Manager->GetMessageHistory()[0].Text.ToString(), "The asset was closed.");
    EXPECT_EQ(Manager->GetMessageHistory()[0].Level, EToolMessageLevel::UserWarning);
    EXPECT_EQ(Closed->ShutdownType, EToolShutdownType::Cancel);
}

TEST_F(InteractiveToolManagerTest, RequestsOfAToolThatIsNoLongerActiveEndNothing)
{
    URecordingTool* Old = Begin();
    URecordingTool* Active = Begin();
    Manager->PostActiveToolShutdownRequest(Old, EToolShutdownType::Completed, true,
                                           FText::FromString("gone"));
    Manager->Tick(0.1f);
    EXPECT_EQ(Manager->GetActiveTool(), Active);
    EXPECT_TRUE(Manager->GetMessageHistory().IsEmpty());

    Active->bRequestShutdownOnShutdown = true;
    Manager->EndTool(EToolShutdownType::Completed);
    URecordingTool* Next = Begin();
    Manager->Tick(0.1f);
    EXPECT_EQ(Manager->GetActiveTool(), Next) << "a request made while shutting down";
    EXPECT_FALSE(Next->ShutdownType.has_value());
}

TEST_F(InteractiveToolManagerTest, EditingAPropertySetTellsItsToolWhichProperty)
{
    URecordingTool* Tool = Begin();
    USampleToolSettings* Settings = NewObject<USampleToolSettings>(Tool);
    Tool->AddToolPropertySource(Settings);
    Tool->AddToolPropertySource(Settings);
    ASSERT_EQ(Tool->GetToolProperties().Num(), 1);
    EXPECT_EQ(Settings->GetOwningTool(), Tool);

    const FProperty* Scale = VT::Reflection::FindPropertyByAnyName(Settings->GetClass(), "Scale");
    ASSERT_NE(Scale, nullptr);
    FString Error;
    ASSERT_TRUE(VT::Reflection::SetPropertyValueFromText(Settings, *Scale, "42", Error)) << *Error;

    EXPECT_EQ(Settings->Scale, 2.0);
    ASSERT_EQ(Tool->ModifiedSets.Num(), 1);
    EXPECT_EQ(Tool->ModifiedSets[0], Settings);
    EXPECT_EQ(Tool->ModifiedProperty, Scale);
}
