// The script language: the input is parsed as a script beside the demo character and, when it parses, its
// steps run in an edit session as `rivet script` runs them (every "open" opens the demo character; nothing
// is saved).
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Session/EditScript.h"
#include "RivetCli/Session/EditSession.h"
#include "FuzzSupport/FuzzCharacter.h"
#include "FuzzSupport/FuzzFiles.h"

#include <sstream>

namespace
{
constexpr int32 MaxSteps = 24;

struct FScriptTarget
{
    FFuzzFolder Folder;
    FString Character = WriteDemoCharacter(Folder, "character.glb");
    FString Script = Folder.File("edit.rivet");
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const FScriptTarget Target;
    TArray<FEditStep> Steps;
    FString Error;
    if (!ParseEditScript(FString(std::string(reinterpret_cast<const char*>(Data), Size)), Target.Script, Steps,
                         Error) ||
        Steps.Num() > MaxSteps)
    {
        return 0;
    }
    for (FEditStep& Step : Steps)
    {
        if (Step.Kind == EEditStepKind::Open)
        {
            // The fuzzer edits scripts, not the file system: other files are the file targets' business.
            Step.Arguments = {Target.Character};
        }
    }
    std::ostringstream Output;
    FRivetConsole Console(Output, Output);
    FEditSession Session(Console, FSaveOptions());
    Session.RunAll(Steps);
    return 0;
}
