#include "RivetCli/RivetCommandLine.h"

#include <iostream>

int main(int ArgC, char** ArgV)
{
    return RunRivet(std::vector<std::string>(ArgV + 1, ArgV + ArgC), std::cout, std::cerr);
}
