// Writes the demo character at a fine tessellation, about half a million triangles in LOD 0, as a .glb
// file: the input of scripts/bench's end-to-end run of `rivet run`.
//   FineCharacterFile OUT.glb

#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "Interchange/Interchange.h"
#include "RivetCli/Demo/DemoCharacter.h"
#include "RivetEditorModuleName.h"

#include <cstdio>

int main(int ArgCount, char** Args)
{
    if (ArgCount != 2)
    {
        std::fprintf(stderr, "usage: %s OUT.glb\n", Args[0]);
        return 2;
    }
    FHeadlessEditor Editor{{RivetEditorModuleName}};
    // Ten times the corners and a tenth of the ring spacing: about a hundred times the demo's triangles.
    const FDemoCharacter Character = BuildDemoCharacter("/Game/Bench/FineCharacter", {160, 0.42});
    const FInterchangeWriteResult Written = SavePackageToFile(*Character.Package, FString(Args[1]));
    if (!Written.bSuccess)
    {
        std::fprintf(stderr, "%s\n", *Written.Error);
        return 1;
    }
    std::printf("%s: %d triangles in LOD 0\n", Args[1], Character.Mesh->GetMeshDescription(0)->Triangles().Num());
    return 0;
}
