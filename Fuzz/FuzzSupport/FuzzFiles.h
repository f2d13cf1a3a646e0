#pragma once

#include "Core/Containers/String.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

/**
 * A folder of this process's own (in memory under /dev/shm where there is one), removed at exit. The
 * importers read files, so a fuzz target writes each input into a file here and reads it back.
 */
class FFuzzFolder
{
public:
    FFuzzFolder();
    ~FFuzzFolder();
    FFuzzFolder(const FFuzzFolder&) = delete;
    FFuzzFolder& operator=(const FFuzzFolder&) = delete;

    /** The path of a file in the folder. */
    FString File(const char* Name) const;
    /** Writes the bytes into the file Name (replacing it) and returns its path. */
    FString Write(const char* Name, const uint8_t* Data, size_t Size) const;
    FString Write(const char* Name, const std::string& Bytes) const;

private:
    std::filesystem::path Root;
};

/** Imports the file as `rivet` opens one, then frees everything the import made. */
void ImportAndRelease(const FString& Path);
