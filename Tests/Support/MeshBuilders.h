#pragma once

#include "MeshDescription/MeshDescription.h"

#include <array>

/** What BuildSkinnedGrid puts into its mesh. */
struct FSkinnedGridOptions
{
    /** Quads along X and Y; each quad is two triangles. */
    int32 QuadsX = 4;
    int32 QuadsY = 4;
    /** Polygon groups, as bands of columns, named "Slot_<n>". */
    int32 NumGroups = 1;
    /** A further polygon group, "Unused", that no triangle uses. */
    bool bEmptyGroup = false;
    /** Texture coordinate channels; channel 0 is split along the middle column (a UV seam). */
    int32 NumUVChannels = 1;
    /** Split normals along the middle row (a hard edge). */
    bool bHardEdge = false;
    /** Bone influences per vertex in the default skin-weight profile, weights summing to 65535. */
    int32 InfluencesPerVertex = 2;
    /** Morph targets "Smile" (position deltas) and, when asked, "Frown" (position and normal deltas). */
    bool bMorphTarget = false;
    bool bMorphNormals = false;
};

/**
 * A flat grid in the XY plane, one unit per quad, with every skinned-mesh attribute filled in so that a
 * test can tell any two vertices, corners and groups apart.
 */
FMeshDescription BuildSkinnedGrid(const FSkinnedGridOptions& Options = {});

/** The triangles of a description counted per polygon group, indexed by group ID. */
TArray<int32> CountTrianglesPerGroup(const FMeshDescription& Mesh);

/** The triangles of one polygon group, in ID order. */
TArray<FTriangleID> TrianglesInGroup(const FMeshDescription& Mesh, int32 Group);

/** The positions of a triangle's corners, in corner order. */
std::array<FVector3f, 3> TriangleCornerPositions(const FMeshDescription& Mesh, FTriangleID Triangle);
