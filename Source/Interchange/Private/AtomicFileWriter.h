#pragma once

#include "Core/Containers/String.h"

#include <string_view>

/**
 * Writes a whole file through a temporary file beside it, renamed into place once complete, so a
 * failed write leaves an earlier file as it was. False (with the reason in OutError) on failure.
 */
bool WriteFileAtomically(const FString& Path, std::string_view Bytes, FString& OutError);

/**
 * Several files written together: every file goes to its own temporary file first, and only when all
 * of them are complete are they renamed into place, in the order they were added. Until Commit the
 * targets are untouched; temporary files left over (a failed write, no Commit) are removed.
 * Temporary names are unique per write, so concurrent saves of the same file do not share one.
 */
class FAtomicFileSet
{
public:
    FAtomicFileSet() = default;
    FAtomicFileSet(const FAtomicFileSet&) = delete;
    FAtomicFileSet& operator=(const FAtomicFileSet&) = delete;
    ~FAtomicFileSet();

    /** Writes the bytes to Path's temporary file; false with the reason in OutError. */
    bool Add(const FString& Path, std::string_view Bytes, FString& OutError);
    /** Renames every temporary file onto its target; false with the reason in OutError. */
    bool Commit(FString& OutError);

private:
    struct FPending
    {
        FString Target;
        FString Temporary;
    };
    TArray<FPending> Pending;
};
