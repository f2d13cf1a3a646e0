#pragma once

#include "Core/Containers/String.h"
#include "Core/CoreTypes.h"

/** A 128-bit identifier. The zero value is the invalid one; NewGuid never makes it. */
struct FGuid
{
    uint32 A = 0;
    uint32 B = 0;
    uint32 C = 0;
    uint32 D = 0;

    /** A new random identifier. */
    static FGuid NewGuid();

    bool IsValid() const { return (A | B | C | D) != 0; }
    void Invalidate() { A = B = C = D = 0; }
    /** Thirty-two upper-case hexadecimal digits. */
    FString ToString() const;

    bool operator==(const FGuid& Other) const = default;
};
