#include "RivetCli/Session/PackageFingerprint.h"

#include "CoreUObject/Object/Package.h"
#include "Interchange/Interchange.h"

#include <string>

namespace
{
/** 64-bit FNV-1a over the bytes, with the byte count. */
FString DigestBytes(const std::string& Bytes)
{
    uint64 Hash = 14695981039346656037ull;
    for (const char Byte : Bytes)
    {
        Hash = (Hash ^ static_cast<unsigned char>(Byte)) * 1099511628211ull;
    }
    return FString::Printf("%016llx-%llu", static_cast<unsigned long long>(Hash),
                           static_cast<unsigned long long>(Bytes.size()));
}
} // namespace

FString FingerprintPackage(UPackage& Package)
{
    std::string Bytes;
    return SavePackageToMemory(Package, Package.GetName(), Bytes).bSuccess ? DigestBytes(Bytes) : FString();
}
