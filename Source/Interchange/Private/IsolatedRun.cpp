#include "Interchange/Private/IsolatedRun.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
[[noreturn]] void RunChild(const std::function<void()>& Work)
{
    const int Null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (Null >= 0)
    {
        dup2(Null, STDERR_FILENO);
    }
    try
    {
        Work();
    }
    catch (...)
    {
    }
    // No exit handlers and no stdio flush: those belong to the parent.
    _exit(0);
}

/** Waits for the child until the deadline; false when it was still running then. */
bool WaitUntil(pid_t Child, std::chrono::steady_clock::time_point Deadline, int& OutStatus)
{
    auto Pause = std::chrono::microseconds(200);
    for (;;)
    {
        const pid_t Done = waitpid(Child, &OutStatus, WNOHANG);
        if (Done == Child || (Done < 0 && errno != EINTR))
        {
            return Done == Child;
        }
        if (std::chrono::steady_clock::now() >= Deadline)
        {
            return false;
        }
        std::this_thread::sleep_for(Pause);
        Pause = std::min(Pause * 2, std::chrono::microseconds(20000));
    }
}
} // namespace

EIsolatedRunResult RunInChildProcess(const std::function<void()>& Work, double TimeLimitSeconds)
{
    const auto Deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(TimeLimitSeconds));
    const pid_t Child = fork();
    if (Child == 0)
    {
        RunChild(Work);
    }
    if (Child < 0)
    {
        return EIsolatedRunResult::Finished;
    }
    int Status = 0;
    if (!WaitUntil(Child, Deadline, Status))
    {
        kill(Child, SIGKILL);
        while (waitpid(Child, &Status, 0) < 0 && errno == EINTR)
        {
        }
        return EIsolatedRunResult::TimedOut;
    }
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0 ? EIsolatedRunResult::Finished
                                                          : EIsolatedRunResult::Stopped;
}
