#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

#include <filesystem>
#include <string>

/** A folder of its own under the system's temporary folder, removed with everything in it at the end. */
class FTestFolder
{
public:
    FTestFolder();
    ~FTestFolder();
    FTestFolder(const FTestFolder&) = delete;
    FTestFolder& operator=(const FTestFolder&) = delete;

    /** The path of a file in the folder. */
    FString File(const char* Name) const;
    /** The names of the files and folders in the folder, sorted. */
    TArray<FString> ListFiles() const;

private:
    std::filesystem::path Root;
};

void WriteBytes(const FString& Path, const std::string& Bytes);
std::string ReadBytes(const FString& Path);
