#pragma once

#include "Core/Containers/String.h"

#include <string>
#include <unordered_set>

/**
 * Hands out names that stay distinct once they become FNames. An FName ignores ASCII case and reads
 * "" and "None" as NAME_None, so names are compared case-folded, and a name that would be None takes
 * the fallback instead. A name already handed out gets "_1", "_2", ... until it is free.
 */
class FUniqueNameSet
{
public:
    /** Wanted (or Fallback when Wanted would be None), made unique among the names taken so far. */
    FString Take(const FString& Wanted, const FString& Fallback);
    bool IsTaken(const FString& Name) const;

    /** True for the spellings an FName reads as NAME_None. */
    static bool IsNoneName(const FString& Name);

private:
    static std::string Fold(const FString& Name);

    std::unordered_set<std::string> Taken;
};
