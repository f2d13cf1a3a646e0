#pragma once

#include "Core/CoreTypes.h"

#include <filesystem>

/**
 * A regular file opened for reading without blocking: a FIFO, socket or device is refused, never
 * waited on. Its size is taken from the open file, so reads can be checked against the bytes that are
 * actually there before anything is allocated for them.
 */
class FRegularFile
{
public:
    FRegularFile() = default;
    ~FRegularFile();
    FRegularFile(FRegularFile&& Other) noexcept;
    FRegularFile& operator=(FRegularFile&& Other) noexcept;
    FRegularFile(const FRegularFile&) = delete;
    FRegularFile& operator=(const FRegularFile&) = delete;

    /** Why Open failed. */
    enum class EOpenError : uint8
    {
        None,
        CannotOpen,
        NotRegular,
    };

    /** Opens Path for reading; on failure nothing stays open. */
    EOpenError Open(const std::filesystem::path& Path);
    bool IsOpen() const { return Descriptor >= 0; }
    uint64 GetSize() const { return Size; }
    /** Reads the first Num bytes into Out (room for Num bytes); false when the file no longer holds them. */
    bool ReadPrefix(size_t Num, uint8* Out) const;

private:
    void Close();

    int Descriptor = -1;
    uint64 Size = 0;
};
