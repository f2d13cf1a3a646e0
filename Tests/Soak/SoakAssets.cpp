#include "Soak/SoakAssets.h"

#include "Interchange/Interchange.h"
#include "RivetCli/Demo/DemoCharacter.h"
#include "Support/TestFiles.h"
#include "Support/TestSkeletalAsset.h"

namespace
{
FSoakAsset MakeTestCharacter(const FTestFolder&)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset({.PackageName = "/Game/Soak/TestCharacter"});
    return {Asset.Mesh, {Asset.Animation}};
}

FSoakAsset MakeDemoCharacter(const FTestFolder&)
{
    const FDemoCharacter Demo = BuildDemoCharacter("/Game/Soak/Demo");
    return {Demo.Mesh, Demo.Animations};
}

/**
 * A larger test character with two LODs and an empty slot, written as glTF and read back; its morph targets
 * have no normal deltas, so that the remesh tool works on it.
 */
FSoakAsset MakeGltfCharacter(const FTestFolder& Folder)
{
    const FTestSkeletalAsset Written = BuildTestSkeletalAsset(
        {.PackageName = "/Game/Soak/Written", .QuadsX = 10, .QuadsY = 8, .bEmptySlot = true, .NumLODs = 2,
         .bMorphNormals = false});
    FGltfExportOptions Options;
    Options.Animations.Add(Written.Animation);
    const FString Path = Folder.File("soak-character.glb");
    if (!ExportSkeletalMeshToGltf(*Written.Mesh, Path, Options).bSuccess)
    {
        return {};
    }
    const FInterchangeResult Read = ImportSkinnedMeshFile(Path);
    return Read.bSuccess ? FSoakAsset{Read.Mesh, Read.Animations} : FSoakAsset{};
}
} // namespace

const FSoakAssetKind SoakAssetKinds[3] = {
    {"TestCharacter", "test character", MakeTestCharacter},
    {"DemoCharacter", "demo character", MakeDemoCharacter},
    {"GltfCharacter", "glTF character", MakeGltfCharacter},
};
