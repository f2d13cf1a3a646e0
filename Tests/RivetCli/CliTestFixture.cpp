#include "CliTestFixture.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetCli/RivetCommandLine.h"
#include "Support/TestSkeletalAsset.h"

#include <sstream>

FCliRun RunCli(const std::vector<std::string>& Args)
{
    std::ostringstream Out;
    std::ostringstream Err;
    FCliRun Run;
    Run.ExitCode = RunRivet(Args, Out, Err);
    Run.Out = Out.str();
    Run.Err = Err.str();
    return Run;
}

int32 CountFileTriangles(const FString& Path)
{
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path);
    return Result.bSuccess ? Result.Mesh->GetMeshDescription(0)->Triangles().Num() : -1;
}

void CliTest::SetUp()
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset({.PackageName = "/Game/Cli/Character"});
    Character = Path("character.glb");
    ASSERT_TRUE(ExportSkeletalMeshToGltf(*Asset.Mesh, FString(Character), {.Animations = {Asset.Animation}})
                    .bSuccess);
}

std::string CliTest::WriteScript(const char* Name, const std::string& Text) const
{
    WriteBytes(Folder.File(Name), Text);
    return Path(Name);
}
