#include "RivetCli/Console/SlowTaskProgressBar.h"

#include "RivetCli/Console/RivetConsole.h"

#include <ostream>

namespace
{
constexpr auto Delay = std::chrono::milliseconds(400);
constexpr int32 BarWidth = 24;

FString MakeBar(float Fraction)
{
    const int32 Filled = static_cast<int32>(Fraction * BarWidth + 0.5f);
    FString Bar;
    for (int32 Cell = 0; Cell < BarWidth; ++Cell)
    {
        Bar += Cell < Filled ? "#" : "-";
    }
    return Bar;
}
} // namespace

FSlowTaskProgressBar::FSlowTaskProgressBar(FRivetConsole& InConsole)
    : Console(InConsole), Previous(FScopedSlowTask::SetDisplay(this))
{
}

FSlowTaskProgressBar::~FSlowTaskProgressBar()
{
    FScopedSlowTask::SetDisplay(Previous);
}

void FSlowTaskProgressBar::OnSlowTaskBegin(const FScopedSlowTask& Task)
{
    if (Task.GetDepth() == 0)
    {
        Start = std::chrono::steady_clock::now();
        bDrawn = false;
    }
}

void FSlowTaskProgressBar::OnSlowTaskStep(const FScopedSlowTask& Task)
{
    if (Console.GetOptions().bInteractive && std::chrono::steady_clock::now() - Start >= Delay)
    {
        Draw(Task);
    }
}

void FSlowTaskProgressBar::OnSlowTaskEnd(const FScopedSlowTask& Task)
{
    if (Task.GetDepth() != 0)
    {
        return;
    }
    if (bDrawn)
    {
        Console.GetErrorStream() << "\r\033[K" << std::flush;
        bDrawn = false;
    }
    Console.Json()["slowTasks"].push_back({{"title", *Task.GetTitle().ToString()},
                                           {"totalWork", Task.GetTotalWork()},
                                           {"steps", Task.GetStepsEntered()}});
}

void FSlowTaskProgressBar::Draw(const FScopedSlowTask& Task)
{
    const FScopedSlowTask& Outermost = *FScopedSlowTask::GetActiveTasks()[0];
    const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    Console.GetErrorStream() << "\r\033[K" << *Outermost.GetTitle().ToString() << " ["
                             << *MakeBar(FScopedSlowTask::GetOverallFraction()) << "] "
                             << *Task.GetStepText().ToString() << *FString::Printf(" %.1f s", Seconds)
                             << std::flush;
    bDrawn = true;
}
