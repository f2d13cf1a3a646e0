#include "Interchange/Private/IsolatedRun.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
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
} // namespace

bool FinishesInChildProcess(const std::function<void()>& Work)
{
    const pid_t Child = fork();
    if (Child == 0)
    {
        RunChild(Work);
    }
    if (Child < 0)
    {
        return true;
    }
    int Status = 0;
    while (waitpid(Child, &Status, 0) < 0)
    {
        if (errno != EINTR)
        {
            return true;
        }
    }
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}
