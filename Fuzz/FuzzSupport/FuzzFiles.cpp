#include "FuzzSupport/FuzzFiles.h"

#include "Interchange/Interchange.h"
#include "RivetCli/Session/ScopedPackageRelease.h"

#include <fstream>
#include <unistd.h>

FFuzzFolder::FFuzzFolder()
{
    static int Counter = 0;
    const std::filesystem::path Memory("/dev/shm");
    const std::filesystem::path Base =
        std::filesystem::is_directory(Memory) ? Memory : std::filesystem::temp_directory_path();
    Root = Base / ("RivetFuzz_" + std::to_string(getpid()) + "_" + std::to_string(Counter++));
    std::filesystem::create_directories(Root);
}

FFuzzFolder::~FFuzzFolder()
{
    std::error_code Ignored;
    std::filesystem::remove_all(Root, Ignored);
}

FString FFuzzFolder::File(const char* Name) const
{
    return FString((Root / Name).string());
}

FString FFuzzFolder::Write(const char* Name, const uint8_t* Data, size_t Size) const
{
    const FString Path = File(Name);
    std::ofstream Stream(Path.ToStdString(), std::ios::binary | std::ios::trunc);
    Stream.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    return Path;
}

FString FFuzzFolder::Write(const char* Name, const std::string& Bytes) const
{
    return Write(Name, reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
}

void ImportAndRelease(const FString& Path)
{
    FScopedPackageRelease Release;
    ImportSkinnedMeshFile(Path);
}
