#pragma once

#include "Core/Animation/BoneWeight.h"
#include "Core/CoreTypes.h"

#include <cstdint>

/**
 * The most a file may ask of an import. Readers refuse a file that passes one of these, naming
 * what it asked for, before they allocate for it.
 */
namespace ImportLimits
{
/** File vertices of all meshes of a file together. */
inline constexpr int32 MaxSourceVertices = INT32_MAX / 4;
/** Entries of a per-vertex array: a million vertices with 64 morph targets, or 16M vertices with four UV
 * channels. */
inline constexpr int64 MaxPerVertexEntries = int64(1) << 26;
/** Texture coordinate sets a glTF primitive is read with. */
inline constexpr int32 MaxUVChannels = 8;
/** Polygon group IDs a glTF file may give. */
inline constexpr int32 MaxPolygonGroupID = 65535;
/** Joints of a skeleton: every bone index must fit a skin weight. */
inline constexpr int32 MaxJoints = FBoneWeight::MaxRawWeight - 1;
/** Keys of one animation. */
inline constexpr int32 MaxKeys = 1000000;
/** Keys over all tracks of all animations of a file: 32M keys take about 1.3 GB as host tracks. */
inline constexpr int64 MaxTotalTrackKeys = int64(1) << 25;
} // namespace ImportLimits
