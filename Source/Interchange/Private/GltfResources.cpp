#include "Interchange/Private/GltfResources.h"

#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeFailure.h"

#include <algorithm>
#include <cctype>

using nlohmann::json;

namespace
{
int32 HexDigit(char Character)
{
    const unsigned char Byte = static_cast<unsigned char>(Character);
    return std::isdigit(Byte) ? Byte - '0' : std::isxdigit(Byte) ? std::tolower(Byte) - 'a' + 10 : 0;
}

/** The uri decoded exactly as the glTF library decodes it before it asks for the file. */
std::string DecodeLikeTheLibrary(const std::string& Uri)
{
    std::string Decoded;
    for (size_t At = 0; At < Uri.size(); ++At)
    {
        if (Uri[At] == '+')
        {
            Decoded += ' ';
        }
        else if (Uri[At] == '%' && Uri.size() > At + 2)
        {
            Decoded += static_cast<char>(HexDigit(Uri[At + 1]) * 16 + HexDigit(Uri[At + 2]));
            At += 2;
        }
        else
        {
            Decoded += Uri[At];
        }
    }
    return Decoded;
}

/** "scheme:" at the start, as in "file:", "http:" or a drive letter. */
bool HasScheme(const std::string& Uri)
{
    if (Uri.empty() || !std::isalpha(static_cast<unsigned char>(Uri[0])))
    {
        return false;
    }
    for (const char Character : Uri)
    {
        if (Character == ':')
        {
            return true;
        }
        if (!std::isalnum(static_cast<unsigned char>(Character)) && Character != '+' && Character != '-' &&
            Character != '.')
        {
            return false;
        }
    }
    return false;
}

bool HasControlCharacter(const std::string& Text)
{
    for (const char Character : Text)
    {
        if (static_cast<unsigned char>(Character) < 0x20 || Character == 0x7F)
        {
            return true;
        }
    }
    return false;
}

bool IsInside(const std::filesystem::path& Folder, const std::filesystem::path& Path)
{
    auto [FolderEnd, PathAt] = std::mismatch(Folder.begin(), Folder.end(), Path.begin(), Path.end());
    return FolderEnd == Folder.end() && PathAt != Path.end();
}

std::filesystem::path FolderOf(const FString& Path)
{
    std::error_code Error;
    const std::filesystem::path Folder =
        std::filesystem::canonical(std::filesystem::absolute(Path.ToStdString()).parent_path(), Error);
    if (Error)
    {
        FailImport("the folder of the file cannot be resolved");
    }
    return Folder;
}
} // namespace

FGltfResources::FGltfResources(const json& Document, const FString& Path, TArray<FString>& OutWarnings)
{
    const auto Found = Document.find("buffers");
    if (Found == Document.end() || !Found->is_array())
    {
        return;
    }
    std::filesystem::path Folder;
    for (size_t Index = 0; Index < Found->size(); ++Index)
    {
        const json& Buffer = (*Found)[Index];
        const auto Uri = Buffer.find("uri");
        if (Uri == Buffer.end() || !Uri->is_string() || Uri->get_ref<const std::string&>().empty() ||
            tinygltf::IsDataURI(Uri->get<std::string>()))
        {
            continue;
        }
        if (Folder.empty())
        {
            Folder = FolderOf(Path);
        }
        AddBuffer(static_cast<int32>(Index), Buffer, Folder, OutWarnings);
    }
}

void FGltfResources::AddBuffer(int32 Index, const json& Buffer, const std::filesystem::path& Folder,
                               TArray<FString>& OutWarnings)
{
    if (Buffers.Num() == ImportLimits::MaxExternalBuffers)
    {
        FailImport("the file reads more than %d buffers from other files", ImportLimits::MaxExternalBuffers);
    }
    const std::string Decoded = DecodeLikeTheLibrary(Buffer["uri"].get<std::string>());
    if (HasControlCharacter(Decoded))
    {
        FailImport("buffer %d: its uri holds control characters", Index);
    }
    if (HasScheme(Decoded) || Decoded.front() == '/' || Decoded.front() == '\\')
    {
        FailImport("buffer %d: its uri is neither a data: URI nor a file name relative to the glTF file",
                   Index);
    }
    const std::filesystem::path Relative = std::filesystem::path(Decoded).lexically_normal();
    const FString Shown = ImportedText::ForMessage(Relative.string());
    std::error_code Error;
    const std::filesystem::path Resolved = std::filesystem::weakly_canonical(Folder / Relative, Error);
    if (Relative.empty() || *Relative.begin() == ".." || Error || !IsInside(Folder, Resolved))
    {
        FailImport("buffer %d: its uri leads outside the folder of the glTF file", Index);
    }
    const auto ByteLength = Buffer.find("byteLength");
    if (ByteLength == Buffer.end() || !ByteLength->is_number_unsigned() ||
        ByteLength->get<uint64>() > ImportLimits::MaxBufferBytes)
    {
        FailImport("buffer %d has no valid byteLength", Index);
    }
    FExternalBuffer& Added = Buffers.Emplace_GetRef();
    Added.DecodedUri = Decoded;
    Added.ByteLength = ByteLength->get<size_t>();
    switch (Added.File.Open(Resolved))
    {
        case FRegularFile::EOpenError::CannotOpen:
            FailImport("buffer %d: its file '%s' cannot be opened", Index, *Shown);
        case FRegularFile::EOpenError::NotRegular:
            FailImport("buffer %d: its file '%s' is not a regular file", Index, *Shown);
        case FRegularFile::EOpenError::None:
            break;
    }
    if (Added.File.GetSize() < Added.ByteLength)
    {
        FailImport("buffer %d: its file '%s' is shorter than the buffer's byteLength", Index, *Shown);
    }
    if (Added.File.GetSize() > Added.ByteLength)
    {
        OutWarnings.Add(
            FString::Printf("buffer %d: its file '%s' is longer than the buffer's byteLength; the rest is "
                            "not read",
                            Index, *Shown));
    }
}

tinygltf::FsCallbacks FGltfResources::MakeCallbacks()
{
    tinygltf::FsCallbacks Callbacks;
    // Every name is "found" so the library asks for it once, as written, and never looks elsewhere.
    Callbacks.FileExists = [](const std::string&, void*)
    {
        return true;
    };
    Callbacks.ExpandFilePath = [](const std::string& Name, void*)
    {
        return Name;
    };
    Callbacks.ReadWholeFile = &FGltfResources::ReadWholeFile;
    Callbacks.WriteWholeFile = [](std::string*, const std::string&, const std::vector<unsigned char>&, void*)
    {
        return false;
    };
    Callbacks.user_data = this;
    return Callbacks;
}

bool FGltfResources::ReadWholeFile(std::vector<unsigned char>* Out, std::string*, const std::string& Path,
                                   void* Self)
{
    for (FExternalBuffer& Buffer : static_cast<FGltfResources*>(Self)->Buffers)
    {
        if (!Buffer.bRead && Buffer.DecodedUri == Path)
        {
            Buffer.bRead = true;
            Out->resize(Buffer.ByteLength);
            return Buffer.File.ReadPrefix(Buffer.ByteLength, Out->data());
        }
    }
    // Images, and anything else the checks above did not admit.
    return false;
}
