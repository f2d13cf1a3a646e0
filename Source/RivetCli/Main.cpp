#include "RivetCli/RivetCommandLine.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include <unistd.h>

namespace
{
/**
 * The C library's allocator settings for meshes of millions of triangles: memory comes in transparent huge
 * pages, and what is freed is kept for the next allocation instead of being handed back to the system. Each
 * page the system hands out is faulted in on first touch, which on virtual machines costs more than the work
 * done on it; huge pages fault a five-hundredth as often. The settings are read at start-up only.
 */
constexpr const char* AllocatorTunables =
    "glibc.malloc.hugetlb=1:glibc.malloc.mmap_max=0:glibc.malloc.trim_threshold=4294967295";

/** Starts the program again with the allocator settings, unless they, or others the user set, are in place. */
void RestartWithAllocatorTunables(char** ArgV)
{
    if (std::getenv("GLIBC_TUNABLES") != nullptr)
    {
        return;
    }
    setenv("GLIBC_TUNABLES", AllocatorTunables, 1);
    execv("/proc/self/exe", ArgV);
    unsetenv("GLIBC_TUNABLES"); // execv failed: run as started
}
} // namespace

int main(int ArgC, char** ArgV)
{
    RestartWithAllocatorTunables(ArgV);
    return RunRivet(std::vector<std::string>(ArgV + 1, ArgV + ArgC), std::cout, std::cerr,
                    isatty(STDERR_FILENO) != 0);
}
