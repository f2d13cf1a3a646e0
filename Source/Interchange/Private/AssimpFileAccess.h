#pragma once

#include "Core/Containers/String.h"

#include <assimp/DefaultIOSystem.h>
#include <filesystem>

/**
 * The files the general importer may open while it reads a file: only regular files (checked without
 * blocking, so a FIFO is never waited on) inside the folder of the file being read, after symbolic
 * links are resolved. A material library, texture or other side file elsewhere is treated as missing.
 * Nothing is ever opened for writing.
 */
class FAssimpFileAccess : public Assimp::DefaultIOSystem
{
public:
    explicit FAssimpFileAccess(const FString& InputFile);

    bool Exists(const char* File) const override;
    Assimp::IOStream* Open(const char* File, const char* Mode = "rb") override;

private:
    bool IsAllowed(const char* File) const;

    std::filesystem::path Folder;
};
