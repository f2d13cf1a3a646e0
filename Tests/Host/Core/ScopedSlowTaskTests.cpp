#include "Core/Misc/ScopedSlowTask.h"

#include <gtest/gtest.h>

namespace
{
/** Writes what it is told as "begin Title", "step Title n", "end Title n". */
class FRecordingDisplay : public ISlowTaskDisplay
{
public:
    FRecordingDisplay() : Previous(FScopedSlowTask::SetDisplay(this)) {}
    ~FRecordingDisplay() override { FScopedSlowTask::SetDisplay(Previous); }

    void OnSlowTaskBegin(const FScopedSlowTask& Task) override { Record("begin", Task); }
    void OnSlowTaskStep(const FScopedSlowTask& Task) override
    {
        Record("step", Task);
        Fractions.Add(FScopedSlowTask::GetOverallFraction());
    }
    void OnSlowTaskEnd(const FScopedSlowTask& Task) override { Record("end", Task); }

    TArray<FString> Events;
    TArray<float> Fractions;

private:
    void Record(const char* Event, const FScopedSlowTask& Task)
    {
        Events.Add(FString::Printf("%s %s %d/%d", Event, *Task.GetTitle().ToString(), Task.GetDepth(),
                                   Task.GetStepsEntered()));
    }

    ISlowTaskDisplay* Previous;
};
} // namespace

TEST(ScopedSlowTaskTest, NestedTasksReportTheirStepsAndTheOverallProgress)
{
    FRecordingDisplay Display;
    {
        FScopedSlowTask Outer(4.0f, FText::FromString("Outer"));
        Outer.EnterStep(2.0f);
        {
            FScopedSlowTask Inner(2.0f, FText::FromString("Inner"));
            Inner.EnterStep();
            Inner.EnterStep();
        }
        Outer.EnterStep(2.0f, FText::FromString("last"));
        EXPECT_EQ(Outer.GetStepText().ToString(), "last");
        EXPECT_EQ(Outer.GetCompletedWork(), 2.0f);
        EXPECT_EQ(FScopedSlowTask::GetActiveTasks().Num(), 1);
    }
    EXPECT_EQ(Display.Events, (TArray<FString>{"begin Outer 0/0", "step Outer 0/1", "begin Inner 1/0",
                                               "step Inner 1/1", "step Inner 1/2", "end Inner 1/2",
                                               "step Outer 0/2", "end Outer 0/2"}));
    // The inner task fills the outer's first step, which is half of the outer's work.
    EXPECT_EQ(Display.Fractions, (TArray<float>{0.0f, 0.0f, 0.25f, 0.5f}));
    EXPECT_TRUE(FScopedSlowTask::GetActiveTasks().IsEmpty());

    // Steps beyond the total count, but the work stays within it.
    FScopedSlowTask Short(2.0f, FText::FromString("Short"));
    for (int32 Step = 0; Step < 5; ++Step)
    {
        Short.EnterStep(1.5f);
    }
    EXPECT_EQ(Short.GetStepsEntered(), 5);
    EXPECT_EQ(FScopedSlowTask::GetOverallFraction(), 1.0f);
}
