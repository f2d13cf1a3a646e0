#include "RivetCli/Session/SessionPackageWriter.h"

#include "CoreUObject/Misc/PackageName.h"
#include "CoreUObject/Object/Package.h"
#include "Interchange/Interchange.h"
#include "RivetCli/Console/ProgressIndicator.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Session/OutputFiles.h"

#include <filesystem>

FSessionPackageWriter::FSessionPackageWriter(FRivetConsole& InConsole, const FSaveOptions& InOptions,
                                             const TArray<FOpenedFile>& InOpenedFiles)
    : Console(InConsole), Options(InOptions), OpenedFiles(InOpenedFiles)
{
}

bool FSessionPackageWriter::Write(const TArray<UPackage*>& Packages, TArray<FString>& OutSavedFiles)
{
    FString Folder;
    bool bNewFolder = false;
    if (!CheckNameLengths(Packages) || !ChooseFolder(Folder, bNewFolder))
    {
        return false;
    }
    TArray<FString> Paths;
    const bool bWritten = ChoosePaths(Packages, Folder, Paths) && WriteFiles(Packages, Paths, OutSavedFiles);
    if (!bWritten && bNewFolder)
    {
        // A failed session leaves no empty folder behind for the user to clean up.
        RemoveFolderIfEmpty(Folder);
    }
    return bWritten;
}

bool FSessionPackageWriter::CheckNameLengths(const TArray<UPackage*>& Packages)
{
    const FString& Input = OpenedFiles[0].Path;
    const FString Folder =
        Options.OutputFolder.IsEmpty() ? FString(std::filesystem::path(*Input).parent_path().string())
                                       : Options.OutputFolder;
    const int32 Limit = GetFileNameLimit(Folder);
    const auto Refuse = [this, Limit](const FString& Path, const FString& Name, const char* What, const char* Advice)
    {
        Console.Error(FString::Printf("%s: the %s '%s' is too long for the file system (%d bytes, at most %d); %s",
                                      *Path, What, *Name, Name.Len(), Limit, Advice));
        return false;
    };
    if (!Options.bInPlace && Options.OutputFolder.IsEmpty())
    {
        const FString FolderName = GetPathStem(Input) + "_rivet";
        if (FolderName.Len() > Limit)
        {
            return Refuse(Input, FolderName, "output folder name", "choose a folder with --out");
        }
    }
    for (const UPackage* Package : Packages)
    {
        const FString Path = ChoosePath(*Package, Folder);
        const FString Name(std::filesystem::path(*Path).filename().string());
        if (Name.Len() > Limit)
        {
            return Refuse(Path, Name, "output file name", "rename the file");
        }
    }
    return true;
}

bool FSessionPackageWriter::WriteFiles(const TArray<UPackage*>& Packages, const TArray<FString>& Paths,
                                       TArray<FString>& OutSavedFiles)
{
    for (int32 Index = 0; Index < Packages.Num(); ++Index)
    {
        FInterchangeWriteResult Result;
        {
            FProgressIndicator Progress(Console, FString::Printf("writing %s", *Paths[Index]));
            Result = SavePackageToFile(*Packages[Index], Paths[Index]);
        }
        if (!Result.bSuccess)
        {
            Console.Error(Result.Error);
            return false;
        }
        OutSavedFiles.Add(Paths[Index]);
        Console.Print(FString::Printf("saved %s", *Paths[Index]));
        Console.Json()["saved"].push_back(*Paths[Index]);
    }
    return true;
}

bool FSessionPackageWriter::ChooseFolder(FString& OutFolder, bool& bOutNew)
{
    if (Options.bInPlace)
    {
        // New packages go beside the edited file.
        OutFolder = FString(std::filesystem::path(*OpenedFiles[0].Path).parent_path().string());
        return true;
    }
    FString Error;
    if (Options.OutputFolder.IsEmpty())
    {
        if (CreateNewFolderBeside(OpenedFiles[0].Path, OutFolder, Error))
        {
            bOutNew = true;
            return true;
        }
        Console.Error(Error);
        return false;
    }
    OutFolder = Options.OutputFolder;
    std::error_code CreateError;
    bOutNew = std::filesystem::create_directories(*OutFolder, CreateError);
    if (CreateError)
    {
        Console.Error(
            FString::Printf("%s: cannot create the folder: %s", *OutFolder, CreateError.message().c_str()));
        return false;
    }
    return true;
}

bool FSessionPackageWriter::ChoosePaths(const TArray<UPackage*>& Packages, const FString& Folder,
                                        TArray<FString>& OutPaths)
{
    for (const UPackage* Package : Packages)
    {
        const FString Wanted = ChoosePath(*Package, Folder);
        FString Path = Wanted;
        for (int32 Suffix = 2;
             OutPaths.FindByPredicate([&Path](const FString& Taken) { return IsSameFile(Path, Taken); });
             ++Suffix)
        {
            Path = AddPathSuffix(Wanted, Suffix);
        }
        const FOpenedFile* Opened = FindOpenedFile(Path);
        if (Opened && !(Options.bInPlace && Opened->Package == Package))
        {
            Console.Error(
                FString::Printf("%s: saving there would overwrite an opened file; choose another --out "
                                "folder, or --in-place",
                                *Path));
            return false;
        }
        OutPaths.Add(Path);
    }
    return true;
}

FString FSessionPackageWriter::ChoosePath(const UPackage& Package, const FString& Folder) const
{
    for (const FOpenedFile& File : OpenedFiles)
    {
        if (File.Package == &Package)
        {
            return Options.bInPlace ? File.Path : MakeOutputPath(Folder, GetPathStem(File.Path), File.Path);
        }
    }
    // A package made from an opened one ("<package>_Part", a detached part) is named after that file.
    FString Name = FPackageName::GetShortName(Package.GetName());
    for (const FOpenedFile& File : OpenedFiles)
    {
        const FString Base = File.Package ? FPackageName::GetShortName(File.Package->GetName()) : FString();
        if (!Base.IsEmpty() && Name.StartsWith((Base + "_").View(), ESearchCase::CaseSensitive))
        {
            Name = GetPathStem(File.Path) + Name.RightChop(Base.Len());
            break;
        }
    }
    return MakeOutputPath(Folder, Name, OpenedFiles[0].Path);
}

const FOpenedFile* FSessionPackageWriter::FindOpenedFile(const FString& Path) const
{
    for (const FOpenedFile& File : OpenedFiles)
    {
        if (IsSameFile(File.Path, Path))
        {
            return &File;
        }
    }
    return nullptr;
}
