#include "RivetCli/Session/OutputFiles.h"

#include <filesystem>

bool IsGltfPath(const FString& Path)
{
    return Path.EndsWith(".gltf", ESearchCase::IgnoreCase) || Path.EndsWith(".glb", ESearchCase::IgnoreCase);
}

FString GetPathStem(const FString& Path)
{
    return FString(std::filesystem::path(*Path).stem().string());
}

FString MakeNewFolderBeside(const FString& Input)
{
    const std::filesystem::path InputPath(*Input);
    const std::string Base = InputPath.stem().string() + "_rivet";
    std::filesystem::path Folder = InputPath.parent_path() / Base;
    for (int32 Suffix = 2; std::filesystem::exists(Folder); ++Suffix)
    {
        Folder = InputPath.parent_path() / (Base + "_" + std::to_string(Suffix));
    }
    return FString(Folder.string());
}

FString MakeOutputPath(const FString& Folder, const FString& BaseName, const FString& Like)
{
    const std::string Extension =
        IsGltfPath(Like) ? std::filesystem::path(*Like).extension().string() : ".glb";
    return FString((std::filesystem::path(*Folder) / (std::string(*BaseName) + Extension)).string());
}
