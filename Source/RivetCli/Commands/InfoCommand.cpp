#include "Interchange/Interchange.h"
#include "RivetCli/Commands/RivetCommands.h"
#include "RivetCli/Console/ProgressIndicator.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Reports/AssetReport.h"
#include "RivetCli/Reports/TriangleLists.h"
#include "RivetCli/RivetCommandLine.h"
#include "RivetCli/Session/ScopedPackageRelease.h"

int RunInfoCommand(FRivetConsole& Console, const TArray<FString>& Files, bool bListTriangles)
{
    bool bAllRead = true;
    for (const FString& File : Files)
    {
        const FScopedPackageRelease ReadPackages;
        FInterchangeResult Result;
        {
            FProgressIndicator Progress(Console, FString::Printf("reading %s", *File));
            Result = ImportSkinnedMeshFile(File);
        }
        if (!Result.bSuccess)
        {
            Console.Error(Result.Error);
            bAllRead = false;
            continue;
        }
        for (const FString& Warning : Result.Warnings)
        {
            Console.Warning(Warning);
        }
        nlohmann::json Asset = DescribeAsset(*Result.Mesh, Result.Animations);
        Asset["file"] = *File;
        AddFileBounds(Asset, GetSourceFileFrame(*Result.Mesh));
        Console.Print(FString::Printf("%s:", *File));
        PrintAssetReport(Console, Asset);
        if (bListTriangles)
        {
            Asset["triangleLists"] = DescribeTriangleLists(*Result.Mesh);
            PrintTriangleLists(Console, Asset["triangleLists"]);
        }
        Console.Json()["assets"].push_back(std::move(Asset));
    }
    return static_cast<int>(bAllRead ? ERivetExitCode::Success : ERivetExitCode::BadInput);
}
