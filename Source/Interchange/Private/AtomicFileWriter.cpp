#include "Interchange/Private/AtomicFileWriter.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{
/**
 * A name in Target's folder that no other write, in this process or another, uses at the same time.
 * It is short whatever Target's name is, so a target name the file system allows is always writable.
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
    const std::filesystem::path Target(Path.ToStdString());
    const long MaxName =
        pathconf(Target.parent_path().empty() ? "." : Target.parent_path().c_str(), _PC_NAME_MAX);
    if (MaxName > 0 && Target.filename().string().size() > static_cast<size_t>(MaxName))
    {
        OutError = FString::Printf("the file name is longer than the %ld bytes the folder allows", MaxName);
        return false;
    }
    const std::filesystem::path Temporary = MakeTemporaryPath(Target);
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
            OutError = FString("the file cannot be replaced: ") + Error.message();
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
