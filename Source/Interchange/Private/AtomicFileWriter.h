#pragma once

#include "Core/Containers/String.h"

#include <functional>
#include <string_view>

/**
 * Writes a whole file through a temporary file beside it, flushed to disk and renamed into place once
 * complete, so a failed write leaves an earlier file as it was. False (with the reason, naming the
 * file, in OutError) on failure.
 */
bool WriteFileAtomically(const FString& Path, std::string_view Bytes, FString& OutError);

/**
 * Several files written together: every file goes to its own temporary file first, and only when all
 * of them are complete and flushed are they renamed into place, in the order they were added. Until
 * Commit the targets are untouched; a Commit that fails part of the way puts back the files it had
 * already replaced, so the set is replaced whole or not at all. Temporary files left over (a failed
 * write, no Commit) are removed. Temporary names are unique per write, so concurrent saves of the same
 * file do not share one.
 */
class FAtomicFileSet
{
public:
    FAtomicFileSet() = default;
    FAtomicFileSet(const FAtomicFileSet&) = delete;
    FAtomicFileSet& operator=(const FAtomicFileSet&) = delete;
    ~FAtomicFileSet();

    /** Writes the bytes to Path's temporary file and flushes it; false with the reason in OutError. */
    bool Add(const FString& Path, std::string_view Bytes, FString& OutError);
    /** Renames every temporary file onto its target; false with the reason in OutError. */
    bool Commit(FString& OutError);

private:
    struct FPending
    {
        FString Target;
        FString Temporary;
    };
    struct FReplaced
    {
        FString Target;
        FString Backup; // a second name of the file the target had before, empty when none was made
        bool bExisted = false;
    };
    void RollBack(const TArray<FReplaced>& Replaced);

    TArray<FPending> Pending;
};

/** The steps of an atomic write, where a test can make it fail. */
enum class EAtomicWriteStage : uint8
{
    Open,
    Write,
    Flush,
    Rename,
};

/**
 * A test hook: called before each step of every atomic write, with the target file and, for Write,
 * the offset and size of the bytes about to be written; returning true makes that step fail as the
 * system would. Reset with an empty function.
 */
using FAtomicWriteFaultHook =
    std::function<bool(EAtomicWriteStage Stage, const FString& Target, uint64 Offset, uint64 Size)>;
void SetAtomicWriteFaultHook(FAtomicWriteFaultHook Hook);
