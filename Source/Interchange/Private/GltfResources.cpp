#include "Interchange/Private/GltfResources.h"

#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/RegularFile.h"

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

FGltfResources::FGltfResources(const json& Document, const FString& Path)
{
    const auto Found = Document.find("buffers");
    if (Found == Document.end() || !Found->is_array())
    {
        return;
    }
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
            Folder = FolderOf(Path).string();
        }
        CheckBuffer(static_cast<int32>(Index), Buffer);
    }
}

void FGltfResources::CheckBuffer(int32 Index, const json& Buffer)
{
    if (++NumExternalBuffers > ImportLimits::MaxExternalBuffers)
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
    const std::filesystem::path Root(Folder);
    // The library asks for "<folder>/<decoded uri>" exactly, which is what is checked here.
    const std::filesystem::path Resolved = std::filesystem::weakly_canonical(Root / Decoded, Error);
    if (Relative.empty() || *Relative.begin() == ".." || Error || !IsInside(Root, Resolved))
    {
        FailImport("buffer %d: its uri leads outside the folder of the glTF file", Index);
    }
    const auto ByteLength = Buffer.find("byteLength");
    if (ByteLength == Buffer.end() || !ByteLength->is_number_unsigned() ||
        ByteLength->get<uint64>() > ImportLimits::MaxBufferBytes)
    {
        FailImport("buffer %d has no valid byteLength", Index);
    }
    FRegularFile File;
    switch (File.Open(Resolved))
    {
        case FRegularFile::EOpenError::CannotOpen:
            FailImport("buffer %d: its file '%s' cannot be opened", Index, *Shown);
        case FRegularFile::EOpenError::NotRegular:
            FailImport("buffer %d: its file '%s' is not a regular file", Index, *Shown);
        case FRegularFile::EOpenError::None:
            break;
    }
    if (File.GetSize() != ByteLength->get<uint64>())
    {
        FailImport("buffer %d: its file '%s' does not hold the buffer's byteLength of bytes", Index, *Shown);
    }
}

bool FGltfResources::ReplaceImageFiles(json& Document)
{
    const auto Images = Document.find("images");
    bool bChanged = false;
    for (size_t Index = 0; Images != Document.end() && Images->is_array() && Index < Images->size(); ++Index)
    {
        json& Image = (*Images)[Index];
        const auto Uri = Image.is_object() ? Image.find("uri") : Image.end();
        if (Image.is_object() && Uri != Image.end() &&
            !(Uri->is_string() && tinygltf::IsDataURI(Uri->get<std::string>())))
        {
            *Uri = "data:image/png;base64,AAAA";
            bChanged = true;
        }
    }
    return bChanged;
}
