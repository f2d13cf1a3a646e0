// The reader of this project's own extras: the input places "rivet" extras on the objects of the demo
// character's glTF document ({"/nodes/0": {...}, "/meshes/0": {...}}, as the seeds hold them), and the
// changed document is read as `rivet` reads a file.
#include "FuzzSupport/FuzzCharacter.h"
#include "FuzzSupport/FuzzFiles.h"
#include "FuzzSupport/RivetExtrasPlacement.h"

#include <fstream>
#include <iterator>

namespace
{
struct FTemplate
{
    FFuzzFolder Folder;
    nlohmann::json Document;

    FTemplate()
    {
        // The text file and its .bin; each input replaces only the text.
        const FString Path = WriteDemoCharacter(Folder, "input.gltf");
        std::ifstream Stream(Path.ToStdString());
        Document = nlohmann::json::parse(Stream);
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const FTemplate Template;
    const nlohmann::json Placement = nlohmann::json::parse(Data, Data + Size, nullptr, /*allow_exceptions=*/false);
    nlohmann::json Document = Template.Document;
    if (Placement.is_discarded() || !PlaceRivetExtras(Document, Placement))
    {
        return -1;
    }
    ImportAndRelease(Template.Folder.Write("input.gltf", Document.dump()));
    return 0;
}
