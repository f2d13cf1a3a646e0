// The selection language: each line of the input is one term; the terms are parsed and, when they all
// parse, painted onto the Delete Polygons tool's preview of the demo character, as `rivet --select` does.
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Selection/SelectionTerm.h"
#include "RivetCli/Session/EditSession.h"
#include "FuzzSupport/FuzzCharacter.h"
#include "FuzzSupport/FuzzFiles.h"
#include "FuzzSupport/FuzzSession.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace
{
constexpr int32 MaxTerms = 32;

/** The demo character open in the Delete Polygons tool, for the life of the process. */
struct FSelectionTarget
{
    FFuzzFolder Folder;
    std::ostringstream Output;
    FRivetConsole Console{Output, Output};
    FEditSession Session{Console, FSaveOptions()};

    FSelectionTarget()
    {
        const FString Path = WriteDemoCharacter(Folder, "character.glb");
        if (!Session.Run({EEditStepKind::Open, {Path}}) || !Session.Run({EEditStepKind::Tool, {"Delete Polygons"}}))
        {
            std::fprintf(stderr, "cannot start the tool: %s\n", Output.str().c_str());
            std::abort();
        }
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static FSelectionTarget Target;
    const TArray<FString> Terms = SplitFuzzLines(Data, Size, MaxTerms);
    for (const FString& Text : Terms)
    {
        FSelectionTerm Term;
        FString Error;
        if (!ParseSelectionTerm(Text, Term, Error))
        {
            return 0;
        }
    }
    // Each input starts from an empty selection.
    TArray<FString> Steps = {"-all"};
    Steps.Append(Terms);
    Target.Session.Run({EEditStepKind::Select, Steps});
    Target.Output.str(std::string());
    return 0;
}
