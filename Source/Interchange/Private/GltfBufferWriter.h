#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"

#include <tiny_gltf.h>

/**
 * Appends data to a document's single binary buffer, one buffer view per accessor, each aligned to
 * four bytes. Accessors that glTF requires bounds for get their min and max.
 */
class FGltfBufferWriter
{
public:
    explicit FGltfBufferWriter(tinygltf::Model& InModel);

    /** Count elements of NumComponents floats; answers the accessor index. */
    int32 AddFloats(const TArray<float>& Values, int32 NumComponents, bool bBounds, int32 Target = 0);
    int32 AddUnsignedShorts(const TArray<uint16>& Values, int32 NumComponents, int32 Target = 0);
    int32 AddIndices(const TArray<uint32>& Values);

private:
    int32 AddView(const void* Data, size_t Size, int32 Target);
    int32 AddAccessor(int32 View, int32 ComponentType, int32 NumComponents, int32 Count);

    tinygltf::Model& Model;
};
