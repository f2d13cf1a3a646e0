#include "Support/TestFiles.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <unistd.h>

FTestFolder::FTestFolder()
{
    static std::atomic<int> Counter{0};
    Root = std::filesystem::temp_directory_path() /
           ("RivetTest_" + std::to_string(getpid()) + "_" + std::to_string(Counter++));
    std::filesystem::create_directories(Root);
}

FTestFolder::~FTestFolder()
{
    std::error_code Ignored;
    std::filesystem::remove_all(Root, Ignored);
}

FString FTestFolder::File(const char* Name) const
{
    return FString((Root / Name).string());
}

TArray<FString> FTestFolder::ListFiles() const
{
    TArray<FString> Names;
    for (const auto& Entry : std::filesystem::directory_iterator(Root))
    {
        Names.Add(FString(Entry.path().filename().string()));
    }
    Names.Sort();
    return Names;
}

void WriteBytes(const FString& Path, const std::string& Bytes)
{
    std::ofstream Stream(Path.ToStdString(), std::ios::binary | std::ios::trunc);
    Stream.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
}

std::string ReadBytes(const FString& Path)
{
    std::ifstream Stream(Path.ToStdString(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
}
