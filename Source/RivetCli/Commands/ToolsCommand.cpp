#include "HeadlessEditor/HeadlessEditor.h"
#include "RivetCli/Commands/RivetCommands.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Demo/DemoCharacter.h"
#include "RivetCli/Reports/ToolCatalog.h"
#include "RivetCli/RivetCommandLine.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "RivetEditorModuleName.h"

int RunToolsCommand(FRivetConsole& Console)
{
    // Panels exist only while their tool runs, so each tool is started on the sample character.
    const FScopedPackageRelease CharacterPackage;
    FHeadlessEditor Editor{{RivetEditorModuleName}};
    Editor.OpenAsset(BuildDemoCharacter("/Game/Rivet/ToolCatalogCharacter").Mesh);
    const nlohmann::json Sections = DescribeTools(Editor);
    PrintToolCatalog(Console, Sections);
    Console.Json()["sections"] = Sections;
    return static_cast<int>(ERivetExitCode::Success);
}
