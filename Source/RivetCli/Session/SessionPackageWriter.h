#pragma once

#include "Core/Containers/Array.h"
#include "RivetCli/Session/OpenedFile.h"
#include "RivetCli/Session/SaveOptions.h"

class FRivetConsole;

/**
 * Writes the packages an edit session changed, one glTF 2.0 file each. Every path is chosen and checked
 * before the first write: an opened file's package is named after that file (and written over it only
 * in place), a package the session made is named after itself (one made from an opened package, as
 * "<package>_Part", after that file: "<file stem>_Part"), two packages never share a file, and
 * only an in-place save writes over an opened file.
 */
class FSessionPackageWriter
{
public:
    FSessionPackageWriter(FRivetConsole& Console, const FSaveOptions& Options,
                          const TArray<FOpenedFile>& OpenedFiles);

    /** False, after saying why, when a path is refused or a write fails; what was written stays. */
    bool Write(const TArray<UPackage*>& Packages, TArray<FString>& OutSavedFiles);

private:
    bool ChooseFolder(FString& OutFolder);
    bool ChoosePaths(const TArray<UPackage*>& Packages, const FString& Folder, TArray<FString>& OutPaths);
    FString ChoosePath(const UPackage& Package, const FString& Folder) const;
    const FOpenedFile* FindOpenedFile(const FString& Path) const;

    FRivetConsole& Console;
    FSaveOptions Options;
    const TArray<FOpenedFile>& OpenedFiles;
};
