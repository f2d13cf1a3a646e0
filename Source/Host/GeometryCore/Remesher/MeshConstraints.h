#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/Map.h"
#include "Core/CoreTypes.h"

class IProjectionTarget;

/** What a remesher may do to an edge; the flags combine. */
enum class EEdgeRefineFlags : uint8
{
    NoConstraint = 0,
    NoFlip = 1,
    NoSplit = 2,
    NoCollapse = 4,
    FullyConstrained = NoFlip | NoSplit | NoCollapse,
    SplitsOnly = NoFlip | NoCollapse,
};

constexpr EEdgeRefineFlags operator|(EEdgeRefineFlags A, EEdgeRefineFlags B)
{
    return static_cast<EEdgeRefineFlags>(static_cast<uint8>(A) | static_cast<uint8>(B));
}

constexpr bool HasRefineFlag(EEdgeRefineFlags Flags, EEdgeRefineFlags Flag)
{
    return (static_cast<uint8>(Flags) & static_cast<uint8>(Flag)) != 0;
}

/** The refine flags of an edge, the curve its new vertices go onto, and the set it is tracked in. */
struct FEdgeConstraint
{
    static constexpr int32 InvalidSetID = -1;

    EEdgeRefineFlags RefineFlags = EEdgeRefineFlags::NoConstraint;
    IProjectionTarget* Target = nullptr;
    int32 TrackingSetID = InvalidSetID;

    bool CanFlip() const { return !HasRefineFlag(RefineFlags, EEdgeRefineFlags::NoFlip); }
    bool CanSplit() const { return !HasRefineFlag(RefineFlags, EEdgeRefineFlags::NoSplit); }
    bool CanCollapse() const { return !HasRefineFlag(RefineFlags, EEdgeRefineFlags::NoCollapse); }
    bool IsUnconstrained() const
    {
        return RefineFlags == EEdgeRefineFlags::NoConstraint && Target == nullptr && TrackingSetID == InvalidSetID;
    }

    static FEdgeConstraint Unconstrained() { return {}; }
    static FEdgeConstraint FullyConstrained() { return {EEdgeRefineFlags::FullyConstrained}; }

    bool operator==(const FEdgeConstraint&) const = default;
};

/** Whether a vertex may be removed or moved, the set of fixed vertices it belongs to, and its target. */
struct FVertexConstraint
{
    static constexpr int32 InvalidSetID = -1;

    bool bCannotDelete = false;
    bool bCanMove = true;
    int32 FixedSetID = InvalidSetID;
    IProjectionTarget* Target = nullptr;

    bool IsUnconstrained() const
    {
        return !bCannotDelete && bCanMove && FixedSetID == InvalidSetID && Target == nullptr;
    }

    static FVertexConstraint Unconstrained() { return {}; }
    /** Neither removed nor moved. */
    static FVertexConstraint FullyConstrained() { return {true, false}; }

    bool operator==(const FVertexConstraint&) const = default;
};

/**
 * Constraints on edges and vertices of one mesh, by ID; anything without one is unconstrained. A bit per
 * ID answers the common question, "none here", without a look-up.
 */
class FMeshConstraints
{
public:
    /** Sets the edge's constraint, replacing any it had. */
    void SetOrUpdateEdgeConstraint(int32 EdgeID, const FEdgeConstraint& Constraint);
    void ClearEdgeConstraint(int32 EdgeID);
    bool HasEdgeConstraint(int32 EdgeID) const { return IsMarked(EdgeMarks, EdgeID); }
    /** The edge's constraint, or an unconstrained one. */
    FEdgeConstraint GetEdgeConstraint(int32 EdgeID) const;

    void SetOrUpdateVertexConstraint(int32 VertexID, const FVertexConstraint& Constraint);
    void ClearVertexConstraint(int32 VertexID);
    bool HasVertexConstraint(int32 VertexID) const { return IsMarked(VertexMarks, VertexID); }
    FVertexConstraint GetVertexConstraint(int32 VertexID) const;

    int32 NumEdgeConstraints() const { return EdgeConstraints.Num(); }
    int32 NumVertexConstraints() const { return VertexConstraints.Num(); }
    const TMap<int32, FEdgeConstraint>& GetEdgeConstraints() const { return EdgeConstraints; }
    const TMap<int32, FVertexConstraint>& GetVertexConstraints() const { return VertexConstraints; }

private:
    static bool IsMarked(const TArray<uint8>& Marks, int32 ID) { return Marks.IsValidIndex(ID) && Marks[ID] != 0; }
    static void Mark(TArray<uint8>& Marks, int32 ID, bool bMarked);

    TMap<int32, FEdgeConstraint> EdgeConstraints;
    TMap<int32, FVertexConstraint> VertexConstraints;
    TArray<uint8> EdgeMarks;
    TArray<uint8> VertexMarks;
};
