#include "FuzzSupport/FuzzCharacter.h"

#include "Interchange/Interchange.h"
#include "RivetCli/Demo/DemoCharacter.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "FuzzSupport/FuzzFiles.h"

#include <cstdio>
#include <cstdlib>

FString WriteDemoCharacter(const FFuzzFolder& Folder, const char* Name)
{
    const FScopedPackageRelease Release;
    const FDemoCharacter Character = BuildDemoCharacter("/Game/Fuzz/Character");
    const FString Path = Folder.File(Name);
    const FInterchangeWriteResult Result =
        Character.Package ? SavePackageToFile(*Character.Package, Path) : FInterchangeWriteResult();
    if (!Result.bSuccess)
    {
        std::fprintf(stderr, "cannot write the demo character: %s\n", *Result.Error);
        std::abort();
    }
    return Path;
}
