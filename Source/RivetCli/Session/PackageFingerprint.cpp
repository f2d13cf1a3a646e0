#include "RivetCli/Session/PackageFingerprint.h"

#include "CoreUObject/Object/Package.h"
#include "Interchange/Interchange.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{
std::filesystem::path MakeTemporaryFile()
{
    static std::atomic<uint64> Counter{0};
    return std::filesystem::temp_directory_path() /
           ("rivet-fingerprint-" + std::to_string(getpid()) + "-" + std::to_string(Counter++) + ".glb");
}

/** 64-bit FNV-1a over the file's bytes, with the byte count. */
FString DigestFile(const std::filesystem::path& Path)
{
    std::ifstream Stream(Path, std::ios::binary);
    uint64 Hash = 14695981039346656037ull;
    uint64 Count = 0;
    char Buffer[1 << 16];
    while (Stream.read(Buffer, sizeof(Buffer)) || Stream.gcount() > 0)
    {
        for (std::streamsize Index = 0; Index < Stream.gcount(); ++Index)
        {
            Hash = (Hash ^ static_cast<unsigned char>(Buffer[Index])) * 1099511628211ull;
        }
        Count += static_cast<uint64>(Stream.gcount());
    }
    return FString::Printf("%016llx-%llu", static_cast<unsigned long long>(Hash),
                           static_cast<unsigned long long>(Count));
}
} // namespace

FString FingerprintPackage(UPackage& Package)
{
    const bool bWasDirty = Package.IsDirty();
    const std::filesystem::path File = MakeTemporaryFile();
    const bool bWritten = SavePackageToFile(Package, FString(File.string())).bSuccess;
    const FString Fingerprint = bWritten ? DigestFile(File) : FString();
    std::error_code Ignored;
    std::filesystem::remove(File, Ignored);
    if (Package.IsDirty() != bWasDirty)
    {
        Package.SetDirtyFlag(bWasDirty);
    }
    return Fingerprint;
}
