#include "Interchange/Private/AtomicFileWriter.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{
/**
 * A name beside Target that no other write, in this process or another, uses at the same time. It is
 * short, so that every target name the file system takes also has a temporary file.
 */
std::filesystem::path MakeTemporaryPath(const std::filesystem::path& Target)
{
    static std::atomic<uint64> Counter{0};
    return Target.parent_path() / FString::Printf(".rivet.%d.%llu.tmp", static_cast<int>(getpid()),
                                                  static_cast<unsigned long long>(Counter.fetch_add(1)))
                                      .ToStdString();
}

void RemoveQuietly(const std::filesystem::path& Path)
{
    std::error_code Ignored;
    std::filesystem::remove(Path, Ignored);
}
} // namespace

FAtomicFileSet::~FAtomicFileSet()
{
    for (const FPending& File : Pending)
    {
        RemoveQuietly(File.Temporary.ToStdString());
    }
}

bool FAtomicFileSet::Add(const FString& Path, std::string_view Bytes, FString& OutError)
{
    const std::filesystem::path Temporary = MakeTemporaryPath(Path.ToStdString());
    std::ofstream Stream(Temporary, std::ios::binary | std::ios::trunc);
    if (!Stream)
    {
        OutError = "the file cannot be created (is the folder missing or read-only?)";
        return false;
    }
    Pending.Add(FPending{Path, FString(Temporary.string())});
    Stream.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    Stream.close();
    if (!Stream)
    {
        OutError = "writing the file failed (is the disk full?)";
        return false;
    }
    return true;
}

bool FAtomicFileSet::Commit(FString& OutError)
{
    while (!Pending.IsEmpty())
    {
        const FPending File = Pending[0];
        std::error_code Error;
        std::filesystem::rename(File.Temporary.ToStdString(), File.Target.ToStdString(), Error);
        if (Error)
        {
            OutError = Error == std::errc::filename_too_long
                           ? FString("the file name is too long for the file system")
                           : FString("the file cannot be replaced: ") + Error.message();
            return false;
        }
        Pending.RemoveAt(0);
    }
    return true;
}

bool WriteFileAtomically(const FString& Path, std::string_view Bytes, FString& OutError)
{
    FAtomicFileSet Files;
    return Files.Add(Path, Bytes, OutError) && Files.Commit(OutError);
}
