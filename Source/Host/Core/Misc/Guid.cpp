#include "Core/Misc/Guid.h"

#include <random>

FGuid FGuid::NewGuid()
{
    static std::mt19937_64 Generator{std::random_device{}()};
    FGuid Guid;
    do
    {
        const uint64 High = Generator();
        const uint64 Low = Generator();
        Guid = FGuid{static_cast<uint32>(High >> 32), static_cast<uint32>(High),
                     static_cast<uint32>(Low >> 32), static_cast<uint32>(Low)};
    } while (!Guid.IsValid());
    return Guid;
}

FString FGuid::ToString() const
{
    return FString::Printf("%08X%08X%08X%08X", A, B, C, D);
}
