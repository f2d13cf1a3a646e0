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
    TArray<FString> Paths;
    if (!ChooseFolder(Folder) || !ChoosePaths(Packages, Folder, Paths))
    {
        return false;
    }
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

bool FSessionPackageWriter::ChooseFolder(FString& OutFolder)
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
            return true;
        }
        Console.Error(Error);
        return false;
    }
    OutFolder = Options.OutputFolder;
    std::error_code CreateError;
    std::filesystem::create_directories(*OutFolder, CreateError);
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
