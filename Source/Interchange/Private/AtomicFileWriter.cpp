#include "Interchange/Private/AtomicFileWriter.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace
{
/** Writes go out in pieces of this size, each one a step the fault hook sees. */
constexpr size_t WriteChunkBytes = size_t(1) << 20;

FAtomicWriteFaultHook& FaultHook()
{
    static FAtomicWriteFaultHook Hook;
    return Hook;
}

/** True when the hook makes this step fail; errno is then set as the system would set it. */
bool FaultInjected(EAtomicWriteStage Stage, const FString& Target, uint64 Offset = 0, uint64 Size = 0)
{
    if (!FaultHook() || !FaultHook()(Stage, Target, Offset, Size))
    {
        return false;
    }
    errno = Stage == EAtomicWriteStage::Write ? ENOSPC : EIO;
    return true;
}

FString LeafName(const FString& Path)
{
    return FString(std::filesystem::path(Path.ToStdString()).filename().string());
}

FString Describe(const FString& Path, const char* Problem, int Error)
{
    return FString::Printf("%s %s: %s", *LeafName(Path), Problem, std::strerror(Error));
}

/**
 * A name in Target's folder, with the suffix, that no other write in this process or another uses now.
 * It is short whatever Target's name is, so a target name the file system allows is always writable.
 */
FString MakeSiblingPath(const FString& Target, const char* Suffix)
{
    static std::atomic<uint64> Counter{0};
    const std::filesystem::path Folder = std::filesystem::path(Target.ToStdString()).parent_path();
    const FString Name = FString::Printf(".rivet.%d.%llu.%s", static_cast<int>(getpid()),
                                         static_cast<unsigned long long>(Counter.fetch_add(1)), Suffix);
    return FString((Folder / Name.ToStdString()).string());
}

/** False, with the reason, when the file's name is longer than its folder allows. */
bool NameFitsFolder(const FString& Path, FString& OutError)
{
    const std::filesystem::path Target(Path.ToStdString());
    const long MaxName =
        pathconf(Target.parent_path().empty() ? "." : Target.parent_path().c_str(), _PC_NAME_MAX);
    if (MaxName > 0 && Target.filename().string().size() > static_cast<size_t>(MaxName))
    {
        OutError = FString::Printf("the file name is longer than the %ld bytes the folder allows", MaxName);
        return false;
    }
    return true;
}

void RemoveQuietly(const FString& Path)
{
    std::error_code Ignored;
    std::filesystem::remove(Path.ToStdString(), Ignored);
}

bool WriteAll(int File, const FString& Target, std::string_view Bytes)
{
    size_t Written = 0;
    while (Written < Bytes.size())
    {
        const size_t Chunk = std::min(WriteChunkBytes, Bytes.size() - Written);
        if (FaultInjected(EAtomicWriteStage::Write, Target, Written, Chunk))
        {
            return false;
        }
        const ssize_t Result = ::write(File, Bytes.data() + Written, Chunk);
        if (Result < 0 && errno == EINTR)
        {
            continue;
        }
        if (Result <= 0)
        {
            errno = Result == 0 ? EIO : errno;
            return false;
        }
        Written += static_cast<size_t>(Result);
    }
    return true;
}

/** Writes the bytes to a new file at Temporary and flushes them to disk; false with errno set. */
bool WriteDurably(const FString& Temporary, const FString& Target, std::string_view Bytes, FString& OutError)
{
    if (FaultInjected(EAtomicWriteStage::Open, Target))
    {
        OutError = Describe(Target, "cannot be created", errno);
        return false;
    }
    const int File = ::open(*Temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (File < 0)
    {
        OutError = Describe(Target, "cannot be created", errno);
        return false;
    }
    bool bWritten = WriteAll(File, Target, Bytes);
    if (!bWritten)
    {
        OutError = Describe(Target, "could not be written", errno);
    }
    else if (FaultInjected(EAtomicWriteStage::Flush, Target) || ::fsync(File) != 0)
    {
        OutError = Describe(Target, "could not be flushed to disk", errno);
        bWritten = false;
    }
    if (::close(File) != 0 && bWritten)
    {
        OutError = Describe(Target, "could not be written", errno);
        bWritten = false;
    }
    return bWritten;
}

/** Makes the renames in the file's folder durable; a folder that cannot be opened is left as it is. */
void FlushFolderOf(const FString& Path)
{
    const std::filesystem::path Folder = std::filesystem::path(Path.ToStdString()).parent_path();
    const int Directory = ::open(Folder.empty() ? "." : Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Directory >= 0)
    {
        ::fsync(Directory);
        ::close(Directory);
    }
}
} // namespace

void SetAtomicWriteFaultHook(FAtomicWriteFaultHook Hook)
{
    FaultHook() = std::move(Hook);
}

FAtomicFileSet::~FAtomicFileSet()
{
    for (const FPending& File : Pending)
    {
        RemoveQuietly(File.Temporary);
    }
}

bool FAtomicFileSet::Add(const FString& Path, std::string_view Bytes, FString& OutError)
{
    if (!NameFitsFolder(Path, OutError))
    {
        return false;
    }
    const FString Temporary = MakeSiblingPath(Path, "tmp");
    if (!WriteDurably(Temporary, Path, Bytes, OutError))
    {
        RemoveQuietly(Temporary);
        return false;
    }
    Pending.Add(FPending{Path, Temporary});
    return true;
}

bool FAtomicFileSet::Commit(FString& OutError)
{
    TArray<FReplaced> Replaced;
    for (const FPending& File : Pending)
    {
        // A second name keeps the earlier file, so that a later failure can put it back.
        FString Backup = MakeSiblingPath(File.Target, "bak");
        const bool bLinked = ::link(*File.Target, *Backup) == 0;
        const bool bExisted = bLinked || errno != ENOENT;
        if (!bLinked)
        {
            Backup = FString();
        }
        if (FaultInjected(EAtomicWriteStage::Rename, File.Target) ||
            ::rename(*File.Temporary, *File.Target) != 0)
        {
            OutError = Describe(File.Target, "cannot be replaced", errno);
            if (!Backup.IsEmpty())
            {
                RemoveQuietly(Backup);
            }
            RollBack(Replaced);
            return false;
        }
        Replaced.Add(FReplaced{File.Target, Backup, bExisted});
    }
    for (const FReplaced& File : Replaced)
    {
        if (!File.Backup.IsEmpty())
        {
            RemoveQuietly(File.Backup);
        }
        FlushFolderOf(File.Target);
    }
    Pending.Empty();
    return true;
}

void FAtomicFileSet::RollBack(const TArray<FReplaced>& Replaced)
{
    for (int32 Index = Replaced.Num() - 1; Index >= 0; --Index)
    {
        const FReplaced& File = Replaced[Index];
        if (!File.Backup.IsEmpty())
        {
            ::rename(*File.Backup, *File.Target);
        }
        else if (!File.bExisted)
        {
            RemoveQuietly(File.Target);
        }
        // An earlier file without a second name (a file system without hard links) cannot come back.
    }
}

bool WriteFileAtomically(const FString& Path, std::string_view Bytes, FString& OutError)
{
    FAtomicFileSet Files;
    return Files.Add(Path, Bytes, OutError) && Files.Commit(OutError);
}
