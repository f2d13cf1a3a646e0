#pragma once

#include "Core/Math/Vector.h"
#include "CoreUObject/Object/UObjectGlobals.h"

class FMeshDescription;
struct FImportedLODModel;

/** How one render vertex moves when the morph target is fully applied. */
struct FMorphTargetDelta
{
    FVector3f PositionDelta;
    FVector3f NormalDelta;
    /** The render vertex of the LOD model that the delta applies to. */
    uint32 SourceIdx = 0;

    bool operator==(const FMorphTargetDelta& Other) const = default;
};

/** A morph target's deltas for one level of detail: only the render vertices that move. */
struct FMorphTargetLODData
{
    TArray<FMorphTargetDelta> Vertices;
    /** The number of render vertices of the LOD model the deltas were made for. */
    int32 NumBaseMeshVertices = 0;

    bool operator==(const FMorphTargetLODData& Other) const = default;
};

/**
 * A blend shape of a skeletal mesh, with its deltas per level of detail. The mesh rebuilds the
 * deltas from its mesh descriptions when it commits them.
 */
VT_CLASS()
class UMorphTarget : public UObject
{
    VT_BODY(UMorphTarget, UObject)

public:
    FName GetMorphName() const { return MorphName; }
    void SetMorphName(FName Name) { MorphName = Name; }

    /** Entry L holds the deltas of LOD L; entries may be empty. */
    TArray<FMorphTargetLODData>& GetMorphLODModels() { return MorphLODModels; }
    const TArray<FMorphTargetLODData>& GetMorphLODModels() const { return MorphLODModels; }
    bool HasDataForLOD(int32 LODIndex) const;
    bool HasAnyLODData() const;

    /**
     * Rebuilds LOD LODIndex from a description's morph attributes of this target, for the render
     * vertices of the LOD model built from it. Vertices whose deltas are all zero are left out.
     */
    void BuildLODData(int32 LODIndex, const FMeshDescription& Description, const FImportedLODModel& LODModel);

private:
    VT_PROPERTY(VisibleAnywhere, Category = "Morph Target")
    FName MorphName;

    TArray<FMorphTargetLODData> MorphLODModels;
};
