#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"
#include "Core/Text/Text.h"

class FScopedSlowTask;

/**
 * Shows the slow tasks in progress: an editor shows a progress dialog, a terminal a bar. The display is
 * told when a task begins, each time a task enters a step, and when a task ends; nested tasks report
 * through the same display, and FScopedSlowTask::GetOverallFraction gives the progress of them all.
 */
class ISlowTaskDisplay
{
public:
    virtual ~ISlowTaskDisplay() = default;
    virtual void OnSlowTaskBegin(const FScopedSlowTask& Task) = 0;
    virtual void OnSlowTaskStep(const FScopedSlowTask& Task) = 0;
    virtual void OnSlowTaskEnd(const FScopedSlowTask& Task) = 0;
};

/**
 * Work that may take a while, reported as it proceeds: a title, a total amount of work and steps entered
 * one by one, each with the amount of work it is expected to take. A task made while another is active is
 * nested in that task's current step. Tasks live on the game thread and end in the reverse order of their
 * making (they are scoped). Without a display the reports go nowhere; the task still counts its steps.
 */
class FScopedSlowTask
{
public:
    FScopedSlowTask(float TotalWork, FText Title);
    ~FScopedSlowTask();
    FScopedSlowTask(const FScopedSlowTask&) = delete;
    FScopedSlowTask& operator=(const FScopedSlowTask&) = delete;

    /** Ends the current step (its work counts as done) and begins the next, expected to take Work. */
    void EnterStep(float Work = 1.0f, FText StepText = FText());

    const FText& GetTitle() const { return Title; }
    /** The text of the current step; empty when none was given. */
    const FText& GetStepText() const { return StepText; }
    float GetTotalWork() const { return TotalWork; }
    /** Work of the steps finished before the current one. */
    float GetCompletedWork() const { return CompletedWork; }
    int32 GetStepsEntered() const { return StepsEntered; }
    /** 0 for an outermost task, 1 for a task nested in it, and so on. */
    int32 GetDepth() const { return Depth; }

    /**
     * How far the outermost active task is, from 0 to 1: each task's finished steps, plus the share of its
     * current step that the task nested in it has finished. 0 when no task is active.
     */
    static float GetOverallFraction();
    /** The active tasks, outermost first. */
    static const TArray<FScopedSlowTask*>& GetActiveTasks();

    /** Sets the display that shows every task from now on (null for none); returns the previous one. */
    static ISlowTaskDisplay* SetDisplay(ISlowTaskDisplay* Display);

private:
    /** The share of the task done, with its current step counted as StepShare done. */
    float GetFraction(float StepShare) const;

    FText Title;
    FText StepText;
    float TotalWork;
    float CompletedWork = 0.0f;
    float CurrentStepWork = 0.0f;
    int32 StepsEntered = 0;
    int32 Depth = 0;
};
