#include "Interchange/Private/GltfFileReader.h"

#include "Interchange/Private/GltfDocumentRules.h"
#include "Interchange/Private/GltfResources.h"
#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/JsonNesting.h"
#include "Interchange/Private/RegularFile.h"

#include <cstring>

using nlohmann::json;

namespace
{
constexpr uint32 GlbMagic = 0x46546C67; // "glTF"
constexpr size_t GlbHeaderSize = 12;
constexpr size_t GlbChunkHeaderSize = 8;

bool SkipImage(tinygltf::Image*, const int, std::string*, std::string*, int, int, const unsigned char*, int,
               void*)
{
    return true;
}

/** The file's bytes, read without blocking from a regular file. */
std::string ReadBytes(const FString& Path)
{
    FRegularFile File;
    if (File.Open(Path.ToStdString()) != FRegularFile::EOpenError::None)
    {
        FailImport("the file cannot be opened for reading");
    }
    if (File.GetSize() == 0)
    {
        FailImport("the file is empty");
    }
    if (File.GetSize() > ImportLimits::MaxBufferBytes)
    {
        FailImport("the file is larger than %llu bytes",
                   static_cast<unsigned long long>(ImportLimits::MaxBufferBytes));
    }
    std::string Bytes(File.GetSize(), '\0');
    if (!File.ReadPrefix(Bytes.size(), reinterpret_cast<uint8*>(Bytes.data())))
    {
        FailImport("the file cannot be read");
    }
    return Bytes;
}

uint32 ReadUint32(const std::string& Bytes, size_t Offset)
{
    uint32 Value = 0;
    std::memcpy(&Value, Bytes.data() + Offset, sizeof(Value));
    return Value;
}

bool IsGlb(const std::string& Bytes)
{
    return Bytes.size() >= 4 && ReadUint32(Bytes, 0) == GlbMagic;
}

/** The container's own lengths must agree with the file: a short file was cut off. Returns the JSON chunk. */
std::string_view CheckGlbContainer(const std::string& Bytes)
{
    if (Bytes.size() < GlbHeaderSize + GlbChunkHeaderSize)
    {
        FailImport("the GLB file is truncated (%zu bytes, too short for its header)", Bytes.size());
    }
    const uint32 Version = ReadUint32(Bytes, 4);
    if (Version != 2)
    {
        FailImport("unsupported GLB container version %u (only 2 is read)", Version);
    }
    const uint32 Declared = ReadUint32(Bytes, 8);
    if (Declared > Bytes.size())
    {
        FailImport("the GLB file is truncated (%zu of %u bytes)", Bytes.size(), Declared);
    }
    const uint32 JsonLength = ReadUint32(Bytes, GlbHeaderSize);
    if (GlbHeaderSize + GlbChunkHeaderSize + static_cast<size_t>(JsonLength) > Declared)
    {
        FailImport("the GLB file is truncated (its JSON chunk runs past the end)");
    }
    return std::string_view(Bytes).substr(GlbHeaderSize + GlbChunkHeaderSize, JsonLength);
}

/** The document's JSON, checked for depth before any recursive code sees it. */
json ParseDocument(std::string_view Text)
{
    CheckJsonNesting(Text, ImportLimits::MaxJsonDepth);
    try
    {
        json Document = json::parse(Text);
        if (!Document.is_object())
        {
            FailImport("malformed glTF: the document is not a JSON object");
        }
        return Document;
    }
    catch (const json::parse_error& Error)
    {
        FailImport("malformed glTF: the JSON is not valid (at byte %zu)", Error.byte);
    }
    catch (const json::exception&)
    {
        FailImport("malformed glTF: the JSON holds a number out of range");
    }
}

void CheckDocument(const tinygltf::Model& Model)
{
    if (!Model.asset.version.starts_with("2."))
    {
        FailImport("unsupported glTF version '%s' (only 2.x is read)",
                   *ImportedText::ForMessage(Model.asset.version));
    }
    for (const std::string& Extension : Model.extensionsRequired)
    {
        FailImport("the file requires the unsupported extension %s", *ImportedText::ForMessage(Extension));
    }
}

void AppendUint32(std::string& Out, uint32 Value)
{
    Out.append(reinterpret_cast<const char*>(&Value), sizeof(Value));
}

/** The GLB container Bytes with its JSON chunk replaced by Json; the binary chunk stays as it was. */
std::string ReplaceGlbJson(const std::string& Bytes, std::string Json)
{
    const size_t Rest = GlbHeaderSize + GlbChunkHeaderSize + ReadUint32(Bytes, GlbHeaderSize);
    const size_t Declared = ReadUint32(Bytes, 8);
    while (Json.size() % 4 != 0)
    {
        Json += ' ';
    }
    std::string Out = Bytes.substr(0, 8);
    AppendUint32(Out,
                 static_cast<uint32>(GlbHeaderSize + GlbChunkHeaderSize + Json.size() + (Declared - Rest)));
    AppendUint32(Out, static_cast<uint32>(Json.size()));
    Out.append(Bytes, GlbHeaderSize + 4, 4);
    Out += Json;
    Out.append(Bytes, Rest, Declared - Rest);
    return Out;
}

FString FirstLine(const std::string& Text)
{
    return ImportedText::ForMessage(std::string_view(Text).substr(0, Text.find('\n')));
}
} // namespace

void ReadGltfFile(const FString& Path, tinygltf::Model& OutModel, TArray<FString>& OutWarnings)
{
    std::string Bytes = ReadBytes(Path);
    const bool bBinary = IsGlb(Bytes);
    json Document = ParseDocument(bBinary ? CheckGlbContainer(Bytes) : std::string_view(Bytes));
    CheckGltfDocument(Document, OutWarnings);
    const FGltfResources Resources(Document, Path);
    if (FGltfResources::ReplaceImageFiles(Document))
    {
        Bytes = bBinary ? ReplaceGlbJson(Bytes, Document.dump()) : Document.dump();
    }
    tinygltf::TinyGLTF Loader;
    Loader.SetImageLoader(&SkipImage, nullptr);
    std::string Error;
    std::string Warning;
    bool bLoaded = false;
    try
    {
        bLoaded =
            bBinary
                ? Loader.LoadBinaryFromMemory(&OutModel, &Error, &Warning,
                                              reinterpret_cast<const unsigned char*>(Bytes.data()),
                                              static_cast<unsigned int>(Bytes.size()), Resources.GetFolder())
                : Loader.LoadASCIIFromString(&OutModel, &Error, &Warning, Bytes.data(),
                                             static_cast<unsigned int>(Bytes.size()), Resources.GetFolder());
    }
    catch (const std::exception&)
    {
        FailImport("malformed glTF: the document cannot be read");
    }
    if (!bLoaded)
    {
        FailImport("malformed glTF: %s", Error.empty() ? "the document cannot be read" : *FirstLine(Error));
    }
    CheckDocument(OutModel);
}
