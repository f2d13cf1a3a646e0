#include "RivetCli/RivetCommandLine.h"

#include <iostream>

#include <unistd.h>

int main(int ArgC, char** ArgV)
{
    return RunRivet(std::vector<std::string>(ArgV + 1, ArgV + ArgC), std::cout, std::cerr,
                    isatty(STDERR_FILENO) != 0);
}
