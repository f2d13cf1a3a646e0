#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Vector.h"
#include "Core/Math/Vector2.h"
#include "Core/Math/Vector4.h"
#include "Core/Name/Name.h"

/** One bone influence of a file vertex, before quantisation. */
struct FSourceInfluence
{
    int32 Bone = 0;
    float Weight = 0.0f;
};

/** A polygon group to make and the triangles it gets, as file vertex indices. */
struct FSourceGroup
{
    int32 GroupID = 0;
    FName SlotName;
    /** Three file vertex indices per triangle, in winding order. */
    TArray<int32> Corners;
};

/** Which of a source mesh's optional per-vertex arrays the file fills, and its texture coordinate sets. */
struct FSourceMeshLayout
{
    bool bNormals = false;
    /** Kept only with normals. */
    bool bTangents = false;
    bool bColors = false;
    bool bVertexIDs = false;
    int32 NumUVChannels = 0;
};

/**
 * The geometry of a file as it stores it, already in host space: flat arrays with one entry per
 * file vertex (a corner's full set of attributes). Optional arrays are empty when the file has none.
 */
struct FSourceMesh
{
    int32 NumVertices = 0;
    TArray<FVector3f> Positions;
    TArray<FVector3f> Normals;
    /** xyz: the tangent; w: the sign of the binormal against normal x tangent. */
    TArray<FVector4f> Tangents;
    int32 NumUVChannels = 0;
    /** [Vertex * NumUVChannels + Channel]. */
    TArray<FVector2f> UVs;
    TArray<FVector4f> Colors;
    /** The influences of vertex V are [InfluenceStarts[V], InfluenceStarts[V + 1]). */
    TArray<int32> InfluenceStarts;
    TArray<FSourceInfluence> Influences;
    TArray<FName> MorphNames;
    TArray<uint8> MorphHasNormals;
    /** [Morph * NumVertices + Vertex]; normal deltas only where the morph has them (else zero). */
    TArray<FVector3f> MorphPositions;
    TArray<FVector3f> MorphNormals;
    /** When set, the mesh vertex of each file vertex as the file names it; else vertices are welded. */
    TArray<int32> VertexIDs;
    TArray<FSourceGroup> Groups;

    /** Counts Count more file vertices and returns the first; throws FInterchangeFailure past the limit. */
    int32 AddVertices(int64 Count);
    /** The index of the morph target Name, added (without normals) on first use. */
    int32 FindOrAddMorph(FName Name);
    /**
     * Sizes the per-vertex arrays for NumVertices and the morph targets named so far, the optional ones as
     * Layout says: UVs zero, colours white, morph deltas zero. Throws FInterchangeFailure when an array
     * would pass the limit.
     */
    void AllocateVertexArrays(const FSourceMeshLayout& Layout);
};

/**
 * The name of a file's morph target: the one the file gives, or "MorphTarget_<Index>" when it gives
 * none or one an FName reads as None.
 */
FName MakeMorphTargetName(const FString& FileName, int32 Index);

/**
 * The number of entries of a per-vertex array with PerVertex entries per file vertex, computed in 64 bits;
 * throws FInterchangeFailure naming What when it passes the limit a mesh may reach.
 */
int32 SizePerVertexArray(int32 NumVertices, int32 PerVertex, const char* What);
