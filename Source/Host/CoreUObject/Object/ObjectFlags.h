#pragma once

#include "Core/CoreTypes.h"

/** Flags of an object. */
enum EObjectFlags : uint32
{
    RF_NoFlags = 0,
    /** Visible outside its package. */
    RF_Public = 1u << 0,
    /** Kept alive by its package even when nothing refers to it (assets). */
    RF_Standalone = 1u << 1,
    /** Never recorded by undo and never saved. */
    RF_Transient = 1u << 2,
    /** Kept alive by the garbage collector regardless of references. */
    RF_RootSet = 1u << 3,
    /** Destroyed: no weak reference reaches it any more and the next collection frees it. */
    RF_Garbage = 1u << 4,
    /** Made by the object system itself (classes, script packages). */
    RF_Native = 1u << 5,
};

constexpr EObjectFlags operator|(EObjectFlags A, EObjectFlags B)
{
    return static_cast<EObjectFlags>(static_cast<uint32>(A) | static_cast<uint32>(B));
}
constexpr EObjectFlags operator&(EObjectFlags A, EObjectFlags B)
{
    return static_cast<EObjectFlags>(static_cast<uint32>(A) & static_cast<uint32>(B));
}
constexpr EObjectFlags operator~(EObjectFlags A)
{
    return static_cast<EObjectFlags>(~static_cast<uint32>(A));
}
