// Writes the seed corpus of every fuzz target into a folder, one subfolder per target, from the test
// assets (the tests' character, the importer library's test scene) and the demo (its character, its
// steps and selections). Usage: MakeFuzzSeeds FOLDER
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "RivetCli/Demo/DemoScenarios.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "Support/Assimp/AssimpTestScene.h"
#include "FuzzSupport/FuzzCharacter.h"
#include "FuzzSupport/FuzzFiles.h"
#include "FuzzSupport/RivetExtrasPlacement.h"
#include "Support/TestSkeletalAsset.h"

#include <assimp/scene.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace
{
void Save(const fs::path& Folder, const std::string& Name, const std::string& Bytes)
{
    fs::create_directories(Folder);
    std::ofstream(Folder / Name, std::ios::binary) << Bytes;
}

std::string Load(const FString& Path)
{
    std::ifstream Stream(Path.ToStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(Stream), std::istreambuf_iterator<char>());
}

std::string Base64(const std::string& Bytes)
{
    static const char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string Out;
    for (size_t At = 0; At < Bytes.size(); At += 3)
    {
        uint32_t Group = static_cast<uint8_t>(Bytes[At]) << 16;
        Group |= At + 1 < Bytes.size() ? static_cast<uint8_t>(Bytes[At + 1]) << 8 : 0;
        Group |= At + 2 < Bytes.size() ? static_cast<uint8_t>(Bytes[At + 2]) : 0;
        for (size_t Digit = 0; Digit < 4; ++Digit)
        {
            Out += At + Digit <= Bytes.size() ? Digits[(Group >> (18 - 6 * Digit)) & 63] : '=';
        }
    }
    return Out;
}

/** A text glTF whose buffers are written into it as data URIs, so that one input holds the whole file. */
std::string EmbedBuffers(const FString& GltfPath)
{
    nlohmann::json Document = nlohmann::json::parse(Load(GltfPath));
    for (nlohmann::json& Buffer : Document["buffers"])
    {
        const fs::path Bin = fs::path(GltfPath.ToStdString()).parent_path() / Buffer["uri"].get<std::string>();
        Buffer["uri"] = "data:application/octet-stream;base64," + Base64(Load(FString(Bin.string())));
    }
    return Document.dump();
}

/** The tests' character in a few shapes: several LODs, an empty slot. */
void WriteTestCharacters(const FFuzzFolder& Work, const fs::path& Gltf)
{
    const FTestSkeletalAssetOptions Shapes[] = {{}, {.bEmptySlot = true, .NumLODs = 2}};
    int32 Number = 0;
    for (const FTestSkeletalAssetOptions& Shape : Shapes)
    {
        const FScopedPackageRelease Release;
        FTestSkeletalAssetOptions Options = Shape;
        Options.PackageName = "/Game/Seeds/Test";
        const FTestSkeletalAsset Asset = BuildTestSkeletalAsset(Options);
        FGltfExportOptions Export;
        Export.Animations.Add(Asset.Animation);
        const FString Path = Work.File("test.glb");
        if (ExportSkeletalMeshToGltf(*Asset.Mesh, Path, Export).bSuccess)
        {
            Save(Gltf, "test-" + std::to_string(Number++) + ".glb", Load(Path));
        }
    }
}

void WriteDemoCharacters(const FFuzzFolder& Work, const fs::path& Seeds)
{
    Save(Seeds / "gltf", "demo.glb", Load(WriteDemoCharacter(Work, "demo.glb")));
    const FString Text = WriteDemoCharacter(Work, "demo.gltf");
    Save(Seeds / "gltf", "demo-embedded.gltf", EmbedBuffers(Text));
    // The extras fuzzer places extras on this same document: all of them at once, and each alone.
    const nlohmann::json Extras = CollectRivetExtras(nlohmann::json::parse(Load(Text)));
    Save(Seeds / "extras", "all.json", Extras.dump());
    for (const auto& [Pointer, Value] : Extras.items())
    {
        std::string Name = Pointer;
        std::replace(Name.begin(), Name.end(), '/', '_');
        Save(Seeds / "extras", "only" + Name + ".json", nlohmann::json{{Pointer, Value}}.dump());
    }
}

/** The importer library's test scene through each of its exporters whose format we read back. */
void WriteAssimpScenes(const FFuzzFolder& Work, const fs::path& Seeds)
{
    const std::unique_ptr<aiScene> Scene = BuildAssimpTestScene();
    const std::pair<const char*, const char*> Formats[] = {{"fbxa", "fbx"}, {"fbx", "fbx"}, {"collada", "dae"},
                                                           {"obj", "obj"},  {"x", "x"},     {"ply", "ply"},
                                                           {"stl", "stl"},  {"3ds", "3ds"}};
    for (const auto& [Exporter, Extension] : Formats)
    {
        const std::string Path = Work.File("scene").ToStdString() + "." + Extension;
        const std::string Error = ExportAssimpTestScene(*Scene, Exporter, Path);
        if (!Error.empty())
        {
            std::fprintf(stderr, "no %s seed: %s\n", Exporter, Error.c_str());
            continue;
        }
        Save(Seeds / (std::string("assimp-") + Extension), std::string(Exporter) + "." + Extension,
             Load(FString(Path)));
    }
}

const char* StepKeyword(EEditStepKind Kind)
{
    constexpr const char* Keywords[] = {"open",  "tool",   "select", "set",  "press",
                                        "tick",  "accept", "cancel", "undo", "redo"};
    return Keywords[static_cast<int>(Kind)];
}

/** The demo's steps as scripts, their selections as selection inputs, and the README's examples. */
void WriteLanguageSeeds(const fs::path& Seeds)
{
    int32 Number = 0;
    for (const FDemoScenario& Scenario : GetDemoScenarios())
    {
        std::string Script = "open character.glb\ntool " + Scenario.Tool.ToStdString() + "\n";
        std::string Selection;
        for (const FEditStep& Step : Scenario.Steps)
        {
            Script += StepKeyword(Step.Kind);
            for (const FString& Argument : Step.Arguments)
            {
                Script += " " + Argument.ToStdString();
                Selection += Step.Kind == EEditStepKind::Select ? Argument.ToStdString() + "\n" : "";
            }
            Script += "\n";
        }
        Save(Seeds / "script", "demo-" + std::to_string(Number) + ".rivet", Script + "undo\nredo\n");
        Save(Seeds / "selection", "demo-" + std::to_string(Number++) + ".txt", Selection);
    }
    Save(Seeds / "script", "readme.rivet",
         "# comment\nopen character.glb\ntool Delete Polygons\nselect slot:Shoes\npress Delete Selected Polygons\n"
         "tool Delete Polygons\nselect island:120 grow\npress \"Delete Selected Polygons\"\nundo\ntick 3\n");
    Save(Seeds / "selection", "forms.txt",
         "all\n-slot:0\nslot:Shirt\nbone:Spine:0.25\nbox:-10,-10,150,10,10,200\ntris:0,4,10-20\nisland:12\ngrow\n"
         "shrink\ninvert\n-box:0,0,0,1,1,1\n");
}
} // namespace

int main(int ArgumentCount, char** Arguments)
{
    if (ArgumentCount != 2)
    {
        std::fprintf(stderr, "usage: MakeFuzzSeeds FOLDER\n");
        return 2;
    }
    const fs::path Seeds(Arguments[1]);
    const FFuzzFolder Work;
    WriteTestCharacters(Work, Seeds / "gltf");
    WriteDemoCharacters(Work, Seeds);
    WriteAssimpScenes(Work, Seeds);
    WriteLanguageSeeds(Seeds);
    return 0;
}
