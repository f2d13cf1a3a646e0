#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"

#include <tiny_gltf.h>

/**
 * Reads accessors of a glTF document into flat arrays after checking everything the file claims:
 * the accessor, its buffer view and buffer exist, the data lies inside them, the element type is
 * the one expected, sparse substitutions are in range and floating-point values are finite.
 * Integer components of normalised accessors are mapped to [0, 1] or [-1, 1]. Every problem
 * throws FInterchangeFailure naming the accessor and what it was read for.
 */
class FGltfAccessorReader
{
public:
    explicit FGltfAccessorReader(const tinygltf::Model& InModel) : Model(InModel) {}

    /** The accessor's element count, after checking that it exists. */
    int32 GetCount(int32 AccessorIndex, const char* What) const;
    /** The accessor's components per element (1 for SCALAR, 3 for VEC3, ...), after checking that it exists.
     */
    int32 GetNumComponents(int32 AccessorIndex, const char* What) const;

    /** NumComponents values per element (the accessor's type must match). */
    void ReadFloats(int32 AccessorIndex, int32 NumComponents, const char* What,
                    TArray<float>& OutValues) const;
    /** Unsigned integers (indices, joints): NumComponents per element. */
    void ReadIndices(int32 AccessorIndex, int32 NumComponents, const char* What,
                     TArray<uint32>& OutValues) const;

private:
    /** The accessor after checking it: it exists, its types are known and all its data lies in its buffers.
     */
    const tinygltf::Accessor& GetAccessor(int32 AccessorIndex, const char* What) const;
    void CheckExtent(const tinygltf::Accessor& Accessor, int32 NumComponents, const char* What) const;
    /** The first of Count elements and their stride; checks that every element is inside the view. */
    const uint8* LocateElements(int32 ViewIndex, size_t ByteOffset, int32 Count, int32 ElementSize,
                                int32& OutStride, const char* What) const;
    void ReadComponents(const tinygltf::Accessor& Accessor, int32 NumComponents, const char* What,
                        TArray<double>& OutValues) const;
    void ApplySparse(const tinygltf::Accessor& Accessor, int32 NumComponents, const char* What,
                     TArray<double>& InOutValues) const;

    const tinygltf::Model& Model;
};
