#pragma once

#include "Core/Name/Name.h"

/** A key with the modifier keys held with it; a chord without a key binds nothing. */
struct FInputChord
{
    FName Key;
    bool bShift = false;
    bool bCtrl = false;
    bool bAlt = false;
    bool bCmd = false;

    FInputChord() = default;
    explicit FInputChord(FName InKey, bool bInShift = false, bool bInCtrl = false, bool bInAlt = false,
                         bool bInCmd = false)
        : Key(InKey), bShift(bInShift), bCtrl(bInCtrl), bAlt(bInAlt), bCmd(bInCmd)
    {
    }

    bool IsValidChord() const { return !Key.IsNone(); }
    bool operator==(const FInputChord& Other) const = default;
};
