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

    /**
     * False, after saying why, when a path is refused or a write fails; what was written stays, and a
     * folder made for the files is removed again when nothing was written into it.
     */
    bool Write(const TArray<UPackage*>& Packages, TArray<FString>& OutSavedFiles);

private:
    /** Refuses, before anything is made, output names longer than the file system takes. */
    bool CheckNameLengths(const TArray<UPackage*>& Packages);
    /** bOutNew: the folder did not exist before. */
    bool ChooseFolder(FString& OutFolder, bool& bOutNew);
    bool WriteFiles(const TArray<UPackage*>& Packages, const TArray<FString>& Paths,
                    TArray<FString>& OutSavedFiles);
    bool ChoosePaths(const TArray<UPackage*>& Packages, const FString& Folder, TArray<FString>& OutPaths);
    FString ChoosePath(const UPackage& Package, const FString& Folder) const;
    const FOpenedFile* FindOpenedFile(const FString& Path) const;

    FRivetConsole& Console;
    FSaveOptions Options;
    const TArray<FOpenedFile>& OpenedFiles;
};
