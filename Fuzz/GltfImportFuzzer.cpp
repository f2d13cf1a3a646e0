// A glTF 2.0 file, text or binary (the reader tells them by their first bytes), read as `rivet` reads it.
#include "FuzzSupport/FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const FFuzzFolder Folder;
    ImportAndRelease(Folder.Write("input.gltf", Data, Size));
    return 0;
}
