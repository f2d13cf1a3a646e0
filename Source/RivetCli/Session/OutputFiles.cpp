#include "RivetCli/Session/OutputFiles.h"

#include <filesystem>
#include <unistd.h>

namespace
{
/** How many "_rivet_<n>" folders to try before giving up. */
constexpr int32 MaxFolderSuffix = 9999;
/** The common limit of a file name, where the file system does not say its own. */
constexpr int32 DefaultFileNameLimit = 255;

std::filesystem::path ToPath(const FString& Path)
{
    return std::filesystem::path(Path.ToStdString());
}
} // namespace

bool IsGltfPath(const FString& Path)
{
    return Path.EndsWith(".gltf", ESearchCase::IgnoreCase) || Path.EndsWith(".glb", ESearchCase::IgnoreCase);
}

FString GetPathStem(const FString& Path)
{
    return FString(ToPath(Path).stem().string());
}

bool CreateNewFolderBeside(const FString& Input, FString& OutFolder, FString& OutError)
{
    const std::filesystem::path InputPath = ToPath(Input);
    const std::string Base = InputPath.stem().string() + "_rivet";
    for (int32 Suffix = 1; Suffix <= MaxFolderSuffix; ++Suffix)
    {
        const std::filesystem::path Folder =
            InputPath.parent_path() / (Suffix == 1 ? Base : Base + "_" + std::to_string(Suffix));
        std::error_code Error;
        if (std::filesystem::create_directory(Folder, Error))
        {
            OutFolder = FString(Folder.string());
            return true;
        }
        if (Error)
        {
            OutError = FString::Printf("%s: cannot create the folder: %s", Folder.string().c_str(),
                                       Error.message().c_str());
            return false;
        }
    }
    OutError = FString::Printf("%s: every output folder name is taken; use --out", *Input);
    return false;
}

FString MakeOutputPath(const FString& Folder, const FString& BaseName, const FString& Like)
{
    const std::string Extension = IsGltfPath(Like) ? ToPath(Like).extension().string() : ".glb";
    return FString((ToPath(Folder) / (BaseName.ToStdString() + Extension)).string());
}

FString AddPathSuffix(const FString& Path, int32 Number)
{
    const std::filesystem::path File = ToPath(Path);
    return FString((File.parent_path() /
                    (File.stem().string() + "_" + std::to_string(Number) + File.extension().string()))
                       .string());
}

bool IsSameFile(const FString& A, const FString& B)
{
    std::error_code ErrorA;
    std::error_code ErrorB;
    const std::filesystem::path CanonicalA = std::filesystem::weakly_canonical(ToPath(A), ErrorA);
    const std::filesystem::path CanonicalB = std::filesystem::weakly_canonical(ToPath(B), ErrorB);
    return !ErrorA && !ErrorB && CanonicalA == CanonicalB;
}

int32 GetFileNameLimit(const FString& Folder)
{
    std::filesystem::path Existing = std::filesystem::absolute(ToPath(Folder.IsEmpty() ? FString(".") : Folder));
    std::error_code Error;
    while (!std::filesystem::is_directory(Existing, Error) && Existing.has_relative_path())
    {
        Existing = Existing.parent_path();
    }
    const long Limit = pathconf(Existing.c_str(), _PC_NAME_MAX);
    return Limit > 0 ? static_cast<int32>(std::min<long>(Limit, INT32_MAX)) : DefaultFileNameLimit;
}

void RemoveFolderIfEmpty(const FString& Folder)
{
    std::error_code Error;
    if (std::filesystem::is_empty(ToPath(Folder), Error) && !Error)
    {
        std::filesystem::remove(ToPath(Folder), Error);
    }
}
