#include "RivetCli/RivetCommandLine.h"

#include <CLI/CLI.hpp>

#include <ostream>

int RunRivet(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err)
{
    CLI::App App("rivet: edit skinned meshes with the RivetEditor tools", "rivet");
    App.require_subcommand(1);
    std::vector<std::string> Reversed(Args.rbegin(), Args.rend());
    try
    {
        App.parse(Reversed);
    }
    catch (const CLI::ParseError& Error)
    {
        return App.exit(Error, Out, Err) == 0 ? 0 : static_cast<int>(ERivetExitCode::BadInput);
    }
    return static_cast<int>(ERivetExitCode::Success);
}
