#include "Interchange/Private/GltfFileReader.h"

#include "Interchange/Private/InterchangeFailure.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

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

/** The file's bytes. The import's entry point has already refused paths that name no regular file. */
std::string ReadBytes(const FString& Path)
{
    std::ifstream Stream(std::filesystem::path(Path.ToStdString()), std::ios::binary);
    if (!Stream)
    {
        FailImport("the file cannot be opened for reading");
    }
    std::string Bytes((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
    if (Bytes.empty())
    {
        FailImport("the file is empty");
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

/** The container's own lengths must agree with the file: a short file was cut off. */
void CheckGlbContainer(const std::string& Bytes)
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
}

void CheckDocument(const tinygltf::Model& Model)
{
    if (!Model.asset.version.starts_with("2."))
    {
        FailImport("unsupported glTF version '%s' (only 2.x is read)", Model.asset.version.c_str());
    }
    for (const std::string& Extension : Model.extensionsRequired)
    {
        FailImport("the file requires the unsupported extension %s", Extension.c_str());
    }
}

FString FirstLine(const std::string& Text)
{
    const size_t End = Text.find('\n');
    return FString(Text.substr(0, End));
}
} // namespace

void ReadGltfFile(const FString& Path, tinygltf::Model& OutModel)
{
    const std::string Bytes = ReadBytes(Path);
    tinygltf::TinyGLTF Loader;
    Loader.SetImageLoader(&SkipImage, nullptr);
    std::string Error;
    std::string Warning;
    bool bLoaded = false;
    const std::string BaseDir = std::filesystem::path(Path.ToStdString()).parent_path().string();
    try
    {
        if (IsGlb(Bytes))
        {
            CheckGlbContainer(Bytes);
            bLoaded = Loader.LoadBinaryFromMemory(&OutModel, &Error, &Warning,
                                                  reinterpret_cast<const unsigned char*>(Bytes.data()),
                                                  static_cast<unsigned int>(Bytes.size()), BaseDir);
        }
        else
        {
            bLoaded = Loader.LoadASCIIFromString(&OutModel, &Error, &Warning, Bytes.data(),
                                                 static_cast<unsigned int>(Bytes.size()), BaseDir);
        }
    }
    catch (const FInterchangeFailure&)
    {
        throw;
    }
    catch (const std::exception& Exception)
    {
        FailImport("malformed glTF: %s", Exception.what());
    }
    if (!bLoaded)
    {
        FailImport("malformed glTF: %s", Error.empty() ? "the document cannot be parsed" : *FirstLine(Error));
    }
    CheckDocument(OutModel);
}
