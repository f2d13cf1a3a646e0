#include "Interchange/Private/SourceFileInfo.h"

#include "CoreUObject/Misc/PackageName.h"
#include "CoreUObject/Object/Package.h"
#include "Interchange/Private/InterchangeFailure.h"

#include <cctype>
#include <filesystem>
#include <fstream>

FString GetLowerExtension(const FString& Path)
{
    const std::string Extension = std::filesystem::path(Path.ToStdString()).extension().string();
    return FString(Extension.empty() ? std::string() : Extension.substr(1)).ToLower();
}

FString HashFileContents(const FString& Path)
{
    std::ifstream Stream(Path.ToStdString(), std::ios::binary);
    if (!Stream)
    {
        return FString();
    }
    uint64 Hash = 1469598103934665603ull;
    char Buffer[65536];
    while (Stream.read(Buffer, sizeof(Buffer)) || Stream.gcount() > 0)
    {
        for (std::streamsize Index = 0; Index < Stream.gcount(); ++Index)
        {
            Hash = (Hash ^ static_cast<uint8>(Buffer[Index])) * 1099511628211ull;
        }
    }
    return FString::Printf("%016llx", static_cast<unsigned long long>(Hash));
}

FString MakeAssetBaseName(const FString& Path)
{
    FString Name;
    for (const char Character : std::filesystem::path(Path.ToStdString()).stem().string())
    {
        const bool bKeep =
            std::isalnum(static_cast<unsigned char>(Character)) || Character == '_' || Character == '-';
        Name += bKeep ? Character : '_';
    }
    return Name.IsEmpty() ? FString("Imported") : Name;
}

FString ChooseImportPackageName(const FString& Path, const FInterchangeImportOptions& Options)
{
    FString Reason;
    if (!Options.PackageName.IsEmpty())
    {
        if (!FPackageName::IsValidLongPackageName(Options.PackageName, &Reason))
        {
            FailImport("'%s' is not a valid package name (%s)", *Options.PackageName, *Reason);
        }
        if (FindPackage(Options.PackageName) != nullptr)
        {
            FailImport("the package '%s' exists already", *Options.PackageName);
        }
        return Options.PackageName;
    }
    const FString Base = Options.DestinationFolder + "/" + MakeAssetBaseName(Path);
    if (!FPackageName::IsValidLongPackageName(Base, &Reason))
    {
        FailImport("'%s' is not a valid package name (%s)", *Base, *Reason);
    }
    FString Name = Base;
    for (int32 Suffix = 1; FindPackage(Name) != nullptr; ++Suffix)
    {
        Name = FString::Printf("%s_%d", *Base, Suffix);
    }
    return Name;
}
