#include "RivetCli/Commands/RivetCommands.h"
#include "RivetCli/Commands/SessionCommand.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/RivetCommandLine.h"
#include "RivetCli/Session/EditScript.h"

#include <fstream>
#include <sstream>

int RunScriptCommand(FRivetConsole& Console, const FString& ScriptPath, const FSaveOptions& Save,
                     const FString& SnapshotFolder)
{
    std::ifstream File(*ScriptPath);
    if (!File)
    {
        Console.Error(FString::Printf("%s: cannot read the script", *ScriptPath));
        return static_cast<int>(ERivetExitCode::BadInput);
    }
    std::stringstream Text;
    Text << File.rdbuf();
    TArray<FEditStep> Steps;
    FString Error;
    if (!ParseEditScript(FString(Text.str()), ScriptPath, Steps, Error))
    {
        Console.Error(Error);
        return static_cast<int>(ERivetExitCode::BadInput);
    }
    if (Steps.IsEmpty() || Steps[0].Kind != EEditStepKind::Open)
    {
        Console.Error(
            FString::Printf("%s: a script begins by opening the asset to edit ('open FILE')", *ScriptPath));
        return static_cast<int>(ERivetExitCode::BadInput);
    }
    const FSnapshotRequest Snapshot{SnapshotFolder};
    return RunEditSession(Console, Steps, Save, SnapshotFolder.IsEmpty() ? nullptr : &Snapshot).ExitCode;
}
