#include "Core/Misc/ScopedSlowTask.h"

#include "Core/Misc/Check.h"

#include <algorithm>
#include <utility>

namespace
{
TArray<FScopedSlowTask*>& ActiveTasks()
{
    static TArray<FScopedSlowTask*> Tasks;
    return Tasks;
}

ISlowTaskDisplay*& CurrentDisplay()
{
    static ISlowTaskDisplay* Display = nullptr;
    return Display;
}
} // namespace

FScopedSlowTask::FScopedSlowTask(float InTotalWork, FText InTitle)
    : Title(std::move(InTitle)), TotalWork(std::max(InTotalWork, 0.0f)), Depth(ActiveTasks().Num())
{
    ActiveTasks().Add(this);
    if (ISlowTaskDisplay* Display = CurrentDisplay())
    {
        Display->OnSlowTaskBegin(*this);
    }
}

FScopedSlowTask::~FScopedSlowTask()
{
    VT_CHECKF(!ActiveTasks().IsEmpty() && ActiveTasks().Last() == this,
              "slow tasks must end in the reverse order of their making");
    CompletedWork = std::min(CompletedWork + CurrentStepWork, TotalWork);
    CurrentStepWork = 0.0f;
    if (ISlowTaskDisplay* Display = CurrentDisplay())
    {
        Display->OnSlowTaskEnd(*this);
    }
    ActiveTasks().Pop();
}

void FScopedSlowTask::EnterStep(float Work, FText InStepText)
{
    CompletedWork = std::min(CompletedWork + CurrentStepWork, TotalWork);
    CurrentStepWork = std::clamp(Work, 0.0f, TotalWork - CompletedWork);
    StepText = std::move(InStepText);
    ++StepsEntered;
    if (ISlowTaskDisplay* Display = CurrentDisplay())
    {
        Display->OnSlowTaskStep(*this);
    }
}

float FScopedSlowTask::GetFraction(float StepShare) const
{
    if (TotalWork <= 0.0f)
    {
        return 0.0f;
    }
    return std::clamp((CompletedWork + CurrentStepWork * StepShare) / TotalWork, 0.0f, 1.0f);
}

float FScopedSlowTask::GetOverallFraction()
{
    float Fraction = 0.0f;
    const TArray<FScopedSlowTask*>& Tasks = ActiveTasks();
    for (int32 Index = Tasks.Num() - 1; Index >= 0; --Index)
    {
        Fraction = Tasks[Index]->GetFraction(Fraction);
    }
    return Fraction;
}

const TArray<FScopedSlowTask*>& FScopedSlowTask::GetActiveTasks()
{
    return ActiveTasks();
}

ISlowTaskDisplay* FScopedSlowTask::SetDisplay(ISlowTaskDisplay* Display)
{
    return std::exchange(CurrentDisplay(), Display);
}
