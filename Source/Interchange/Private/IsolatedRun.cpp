#include "Interchange/Private/IsolatedRun.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
/** The child's exit status when an allocation failed. */
constexpr int OutOfMemoryStatus = 75;

/** Bytes of private writable memory the process has mapped: what its data limit counts. */
uint64 MappedDataBytes()
{
    FILE* Statm = std::fopen("/proc/self/statm", "r");
    unsigned long long Pages[6] = {};
    const bool bRead = Statm && std::fscanf(Statm, "%llu %llu %llu %llu %llu %llu", &Pages[0], &Pages[1],
                                            &Pages[2], &Pages[3], &Pages[4], &Pages[5]) == 6;
    if (Statm)
    {
        std::fclose(Statm);
    }
    return bRead ? Pages[5] * static_cast<uint64>(sysconf(_SC_PAGESIZE)) : 0;
}

/**
 * Lets the child map at most Bytes more data memory than it holds now, and ends it with its own status when
 * an allocation fails. The limit is relative because a sanitized process starts with terabytes mapped.
 */
void LimitMemory(uint64 Bytes)
{
    const uint64 Held = MappedDataBytes();
    rlimit Limit{};
    if (Held == 0 || getrlimit(RLIMIT_DATA, &Limit) != 0)
    {
        return;
    }
    const rlim_t Wanted = static_cast<rlim_t>(Held + Bytes);
    Limit.rlim_cur = Limit.rlim_max == RLIM_INFINITY ? Wanted : std::min(Wanted, Limit.rlim_max);
    setrlimit(RLIMIT_DATA, &Limit);
    std::set_new_handler([] { _exit(OutOfMemoryStatus); });
}

[[noreturn]] void RunChild(const std::function<void()>& Work, uint64 MemoryBytes)
{
    const int Null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (Null >= 0)
    {
        dup2(Null, STDERR_FILENO);
    }
    LimitMemory(MemoryBytes);
    try
    {
        Work();
    }
    catch (const std::bad_alloc&)
    {
        _exit(OutOfMemoryStatus);
    }
    catch (...)
    {
    }
    // No exit handlers and no stdio flush: those belong to the parent.
    _exit(0);
}

EIsolatedRunResult ResultOfExit(int Status)
{
    if (!WIFEXITED(Status))
    {
        return EIsolatedRunResult::Stopped;
    }
    switch (WEXITSTATUS(Status))
    {
    case 0:
        return EIsolatedRunResult::Finished;
    case OutOfMemoryStatus:
        return EIsolatedRunResult::OutOfMemory;
    default:
        return EIsolatedRunResult::Stopped;
    }
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

EIsolatedRunResult RunInChildProcess(const std::function<void()>& Work, const FIsolatedRunLimits& Limits)
{
    const auto Deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(Limits.Seconds));
    const pid_t Child = fork();
    if (Child == 0)
    {
        RunChild(Work, Limits.MemoryBytes);
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
    return ResultOfExit(Status);
}
