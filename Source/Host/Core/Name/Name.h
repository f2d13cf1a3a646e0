#pragma once

#include "Core/Containers/String.h"
#include "Core/CoreTypes.h"

/**
 * An interned name. Names compare without regard to ASCII case; every spelling of a name
 * shows the spelling it was first made with. The empty string and "None" are NAME_None.
 * Comparing, copying and hashing a name cost one integer operation.
 */
class FName
{
public:
    constexpr FName() = default;
    FName(const char* Text);
    FName(const FString& Text) : FName(*Text) {}

    bool IsNone() const { return Index == 0; }
    /** The name's spelling; "None" for NAME_None. */
    FString ToString() const;
    /** The spelling as a stable C string; lives as long as the process. */
    const char* GetPlainName() const;

    bool operator==(const FName& Other) const { return Index == Other.Index; }
    /** Compares with a spelling without adding it to the name table. */
    bool operator==(const char* Text) const;
    /** The name of that spelling if one was ever made, else NAME_None; never adds a name. */
    static FName Find(const char* Text);
    /** Orders by spelling without regard to case. */
    bool LexicalLess(const FName& Other) const;

    friend uint32 GetTypeHash(const FName& Name) { return static_cast<uint32>(Name.Index); }

private:
    int32 Index = 0;
};

inline constexpr FName NAME_None;

std::ostream& operator<<(std::ostream& Stream, const FName& Name);
