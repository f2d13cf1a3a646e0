// A file of one format of the general importer, read as `rivet` reads it. The build makes one target per
// format; RIVET_FUZZ_EXTENSION names it ("fbx", "dae", ...).
#include "FuzzSupport/FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const FFuzzFolder Folder;
    ImportAndRelease(Folder.Write("input." RIVET_FUZZ_EXTENSION, Data, Size));
    return 0;
}
