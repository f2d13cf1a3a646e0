#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Math/Vector.h"

/** What a selection term selects, or how it changes the selection built so far. */
enum class ESelectionTermKind : uint8
{
    /** Every triangle; removed, it clears the selection. */
    All,
    /** The triangles that draw with a material slot. */
    Slot,
    /** The triangles with a corner weighted to a bone. */
    Bone,
    /** The triangles whose centroid lies in a box. */
    Box,
    /** Triangles listed by ID. */
    Triangles,
    /** The triangles connected through shared edges to one triangle. */
    Island,
    /** Modifiers of the selection built so far; they cannot be removed. */
    Grow,
    Shrink,
    Invert,
};

/** An inclusive range of triangle IDs, First <= Last. */
struct FTriangleIDRange
{
    int32 First = 0;
    int32 Last = 0;

    bool operator==(const FTriangleIDRange&) const = default;
};

/**
 * One parsed selection term. Region forms add their triangles to the selection, or remove them when
 * bRemove is set. Only the fields of the kind are used.
 */
struct FSelectionTerm
{
    ESelectionTermKind Kind = ESelectionTermKind::All;
    bool bRemove = false;
    /** The term as written, trimmed, for messages. */
    FString Text;

    /** Slot: the slot's name, empty when given by index. Bone: the bone's name. */
    FString Name;
    /** Slot: the slot's index, or INDEX_NONE when given by name. */
    int32 SlotIndex = INDEX_NONE;
    /** Bone: a corner counts when its weight is above zero and at least this. */
    double MinWeight = 0.0;
    /** Box: the corners, Min <= Max on every axis. */
    FVector BoxMin;
    FVector BoxMax;
    /** Box: the corners are in the file's own axes and unit (box@file:), not the host's. */
    bool bFileCoordinates = false;
    /** Triangles: the listed ranges in the order given. */
    TArray<FTriangleIDRange> Triangles;
    /** Island: the triangle whose island is selected. */
    int32 Triangle = INDEX_NONE;

    bool operator==(const FSelectionTerm&) const = default;
};

/** Whether the kind changes the selection built so far rather than naming triangles. */
bool IsSelectionModifier(ESelectionTermKind Kind);

/**
 * Parses one term (keywords without regard to case, spaces around the parts allowed). False with a
 * message that quotes the term when the text is not a term.
 */
bool ParseSelectionTerm(const FString& Text, FSelectionTerm& Out, FString& OutError);

/** The language in a few lines, for help texts. */
extern const char* const SelectionTermHelp;
