#include "Interchange/Private/AssimpFileAccess.h"

#include "Interchange/Private/RegularFile.h"

#include <algorithm>
#include <cstring>

FAssimpFileAccess::FAssimpFileAccess(const FString& InputFile)
{
    std::error_code Error;
    Folder =
        std::filesystem::canonical(std::filesystem::absolute(InputFile.ToStdString()).parent_path(), Error);
}

bool FAssimpFileAccess::IsAllowed(const char* File) const
{
    std::error_code Error;
    const std::filesystem::path Resolved =
        std::filesystem::weakly_canonical(std::filesystem::absolute(File), Error);
    if (Error || Folder.empty())
    {
        return false;
    }
    const auto [FolderEnd, PathAt] =
        std::mismatch(Folder.begin(), Folder.end(), Resolved.begin(), Resolved.end());
    FRegularFile Probe;
    return FolderEnd == Folder.end() && PathAt != Resolved.end() &&
           Probe.Open(Resolved) == FRegularFile::EOpenError::None;
}

bool FAssimpFileAccess::Exists(const char* File) const
{
    return IsAllowed(File);
}

Assimp::IOStream* FAssimpFileAccess::Open(const char* File, const char* Mode)
{
    if (std::strpbrk(Mode, "wa+") || !IsAllowed(File))
    {
        return nullptr;
    }
    return DefaultIOSystem::Open(File, Mode);
}
