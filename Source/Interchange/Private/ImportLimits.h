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
inline constexpr int32 MaxSourceVertices = 1 << 24;
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
/** Nesting of arrays and objects in a glTF document: ours need about ten levels. */
inline constexpr int32 MaxJsonDepth = 64;
/** Buffers of a glTF document read from files beside it (each stays open while the document is read). */
inline constexpr int32 MaxExternalBuffers = 256;
/** Bytes of one glTF buffer. */
inline constexpr uint64 MaxBufferBytes = uint64(1) << 31;
/** LODs of a mesh: each one is a whole mesh read again. */
inline constexpr int32 MaxLODs = 16;
/** Entries of one list in this exporter's extras (slots, sockets, influences, physics bodies, ...). */
inline constexpr int64 MaxExtrasEntries = int64(1) << 24;
/**
 * Elements of all accessors without a buffer view (all zeros unless sparse) together: they cost memory
 * without costing file size, so a file may ask for this many plus DatalessElementsPerByte per byte of its
 * buffers.
 */
inline constexpr int64 MaxDatalessElements = int64(1) << 22;
inline constexpr int64 DatalessElementsPerByte = 8;
} // namespace ImportLimits
