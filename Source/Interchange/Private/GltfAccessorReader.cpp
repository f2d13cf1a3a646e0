#include "Interchange/Private/GltfAccessorReader.h"

#include "Interchange/Private/InterchangeFailure.h"

#include <cmath>
#include <cstring>

namespace
{
double ReadComponent(const uint8* Data, int32 ComponentType, bool bNormalized)
{
    switch (ComponentType)
    {
        case TINYGLTF_COMPONENT_TYPE_FLOAT:
        {
            float Value;
            std::memcpy(&Value, Data, sizeof(Value));
            return Value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return bNormalized ? *Data / 255.0 : *Data;
        case TINYGLTF_COMPONENT_TYPE_BYTE:
        {
            const double Value = static_cast<int8>(*Data);
            return bNormalized ? std::max(Value / 127.0, -1.0) : Value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
        {
            uint16 Value;
            std::memcpy(&Value, Data, sizeof(Value));
            return bNormalized ? Value / 65535.0 : Value;
        }
        case TINYGLTF_COMPONENT_TYPE_SHORT:
        {
            int16 Value;
            std::memcpy(&Value, Data, sizeof(Value));
            return bNormalized ? std::max(Value / 32767.0, -1.0) : Value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
        {
            uint32 Value;
            std::memcpy(&Value, Data, sizeof(Value));
            return Value;
        }
        default:
            return 0.0;
    }
}

bool IsKnownComponentType(int32 ComponentType)
{
    return tinygltf::GetComponentSizeInBytes(static_cast<uint32>(ComponentType)) > 0 &&
           ComponentType != TINYGLTF_COMPONENT_TYPE_INT && ComponentType != TINYGLTF_COMPONENT_TYPE_DOUBLE;
}

bool IsSparseIndexType(int32 ComponentType)
{
    return ComponentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE ||
           ComponentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT ||
           ComponentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
}

uint32 ReadUnsignedIndex(const uint8* Data, int32 ComponentType)
{
    switch (ComponentType)
    {
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return *Data;
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
        {
            uint16 Value;
            std::memcpy(&Value, Data, sizeof(Value));
            return Value;
        }
        default:
        {
            uint32 Value;
            std::memcpy(&Value, Data, sizeof(Value));
            return Value;
        }
    }
}
} // namespace

const tinygltf::Accessor& FGltfAccessorReader::GetAccessor(int32 AccessorIndex, const char* What) const
{
    if (AccessorIndex < 0 || AccessorIndex >= static_cast<int32>(Model.accessors.size()))
    {
        FailImport("%s refers to accessor %d, which does not exist", What, AccessorIndex);
    }
    const tinygltf::Accessor& Accessor = Model.accessors[AccessorIndex];
    if (!IsKnownComponentType(Accessor.componentType))
    {
        FailImport("accessor %d (%s) has the unknown component type %d", AccessorIndex, What,
                   Accessor.componentType);
    }
    const int32 NumComponents = tinygltf::GetNumComponentsInType(static_cast<uint32>(Accessor.type));
    if (NumComponents <= 0)
    {
        FailImport("accessor %d (%s) has the unknown type %d", AccessorIndex, What, Accessor.type);
    }
    if (Accessor.count > static_cast<size_t>(INT32_MAX / 16))
    {
        FailImport("accessor %d (%s) has too many elements (%zu)", AccessorIndex, What, Accessor.count);
    }
    CheckExtent(Accessor, NumComponents, What);
    return Accessor;
}

void FGltfAccessorReader::CheckExtent(const tinygltf::Accessor& Accessor, int32 NumComponents,
                                      const char* What) const
{
    const int32 ComponentSize =
        tinygltf::GetComponentSizeInBytes(static_cast<uint32>(Accessor.componentType));
    const int32 Count = static_cast<int32>(Accessor.count);
    int32 Stride = 0;
    if (Accessor.bufferView >= 0)
    {
        LocateElements(Accessor.bufferView, Accessor.byteOffset, Count, ComponentSize * NumComponents, Stride,
                       What);
    }
    if (!Accessor.sparse.isSparse)
    {
        return;
    }
    const int32 SparseCount = Accessor.sparse.count;
    const int32 IndexType = Accessor.sparse.indices.componentType;
    if (SparseCount < 0 || SparseCount > Count)
    {
        FailImport("the sparse data of %s substitutes %d of %d elements", What, SparseCount, Count);
    }
    if (!IsSparseIndexType(IndexType))
    {
        FailImport("the sparse indices of %s have the component type %d, not an unsigned integer type", What,
                   IndexType);
    }
    LocateElements(Accessor.sparse.indices.bufferView,
                   static_cast<size_t>(Accessor.sparse.indices.byteOffset), SparseCount,
                   tinygltf::GetComponentSizeInBytes(static_cast<uint32>(IndexType)), Stride, What);
    LocateElements(Accessor.sparse.values.bufferView, static_cast<size_t>(Accessor.sparse.values.byteOffset),
                   SparseCount, ComponentSize * NumComponents, Stride, What);
}

int32 FGltfAccessorReader::GetCount(int32 AccessorIndex, const char* What) const
{
    return static_cast<int32>(GetAccessor(AccessorIndex, What).count);
}

int32 FGltfAccessorReader::GetNumComponents(int32 AccessorIndex, const char* What) const
{
    return tinygltf::GetNumComponentsInType(static_cast<uint32>(GetAccessor(AccessorIndex, What).type));
}

const uint8* FGltfAccessorReader::LocateElements(int32 ViewIndex, size_t ByteOffset, int32 Count,
                                                 int32 ElementSize, int32& OutStride, const char* What) const
{
    if (ViewIndex < 0 || ViewIndex >= static_cast<int32>(Model.bufferViews.size()))
    {
        FailImport("the data of %s refers to buffer view %d, which does not exist", What, ViewIndex);
    }
    const tinygltf::BufferView& View = Model.bufferViews[ViewIndex];
    if (View.buffer < 0 || View.buffer >= static_cast<int32>(Model.buffers.size()))
    {
        FailImport("buffer view %d refers to buffer %d, which does not exist", ViewIndex, View.buffer);
    }
    const tinygltf::Buffer& Buffer = Model.buffers[View.buffer];
    if (View.byteOffset > Buffer.data.size() || View.byteLength > Buffer.data.size() - View.byteOffset)
    {
        FailImport("buffer view %d runs past the end of buffer %d (%zu bytes)", ViewIndex, View.buffer,
                   Buffer.data.size());
    }
    if (View.byteStride > static_cast<size_t>(INT32_MAX))
    {
        FailImport("buffer view %d has a stride of %zu bytes", ViewIndex, View.byteStride);
    }
    OutStride = View.byteStride == 0 ? ElementSize : static_cast<int32>(View.byteStride);
    if (OutStride < ElementSize)
    {
        FailImport("buffer view %d has a stride of %d, smaller than an element of %s", ViewIndex, OutStride,
                   What);
    }
    // Both factors are below 2^31, so the product cannot overflow 64 bits.
    const uint64 Needed = Count == 0 ? 0
                                     : static_cast<uint64>(OutStride) * static_cast<uint64>(Count - 1) +
                                           static_cast<uint64>(ElementSize);
    if (ByteOffset > View.byteLength || Needed > View.byteLength - ByteOffset)
    {
        FailImport("the data of %s runs past the end of buffer view %d", What, ViewIndex);
    }
    return Buffer.data.data() + View.byteOffset + ByteOffset;
}

void FGltfAccessorReader::ReadComponents(const tinygltf::Accessor& Accessor, int32 NumComponents,
                                         const char* What, TArray<double>& OutValues) const
{
    if (tinygltf::GetNumComponentsInType(static_cast<uint32>(Accessor.type)) != NumComponents)
    {
        FailImport("%s has %d components per element where %d are expected", What,
                   tinygltf::GetNumComponentsInType(static_cast<uint32>(Accessor.type)), NumComponents);
    }
    const int32 Count = static_cast<int32>(Accessor.count);
    OutValues.Init(0.0, Count * NumComponents);
    if (Accessor.bufferView >= 0)
    {
        const int32 ComponentSize =
            tinygltf::GetComponentSizeInBytes(static_cast<uint32>(Accessor.componentType));
        int32 Stride = 0;
        const uint8* Data = LocateElements(Accessor.bufferView, Accessor.byteOffset, Count,
                                           ComponentSize * NumComponents, Stride, What);
        for (int32 Element = 0; Element < Count; ++Element)
        {
            for (int32 Component = 0; Component < NumComponents; ++Component)
            {
                OutValues[Element * NumComponents + Component] =
                    ReadComponent(Data + static_cast<size_t>(Element) * Stride + Component * ComponentSize,
                                  Accessor.componentType, Accessor.normalized);
            }
        }
    }
    if (Accessor.sparse.isSparse)
    {
        ApplySparse(Accessor, NumComponents, What, OutValues);
    }
    for (const double Value : OutValues)
    {
        if (!std::isfinite(Value))
        {
            FailImport("%s holds a value that is not a finite number", What);
        }
    }
}

void FGltfAccessorReader::ApplySparse(const tinygltf::Accessor& Accessor, int32 NumComponents,
                                      const char* What, TArray<double>& InOutValues) const
{
    const int32 Count = Accessor.sparse.count;
    const int32 IndexType = Accessor.sparse.indices.componentType;
    const int32 IndexSize = tinygltf::GetComponentSizeInBytes(static_cast<uint32>(IndexType));
    const int32 ComponentSize =
        tinygltf::GetComponentSizeInBytes(static_cast<uint32>(Accessor.componentType));
    int32 IndexStride = 0;
    int32 ValueStride = 0;
    const uint8* Indices = LocateElements(Accessor.sparse.indices.bufferView,
                                          static_cast<size_t>(Accessor.sparse.indices.byteOffset), Count,
                                          IndexSize, IndexStride, What);
    const uint8* Values = LocateElements(Accessor.sparse.values.bufferView,
                                         static_cast<size_t>(Accessor.sparse.values.byteOffset), Count,
                                         ComponentSize * NumComponents, ValueStride, What);
    for (int32 Entry = 0; Entry < Count; ++Entry)
    {
        const uint32 Target =
            ReadUnsignedIndex(Indices + static_cast<size_t>(Entry) * IndexStride, IndexType);
        if (Target >= Accessor.count)
        {
            FailImport("the sparse data of %s names element %u, out of range", What, Target);
        }
        const uint8* Value = Values + static_cast<size_t>(Entry) * ValueStride;
        for (int32 Component = 0; Component < NumComponents; ++Component)
        {
            InOutValues[static_cast<int32>(Target) * NumComponents + Component] =
                ReadComponent(Value + Component * ComponentSize, Accessor.componentType, Accessor.normalized);
        }
    }
}

void FGltfAccessorReader::ReadFloats(int32 AccessorIndex, int32 NumComponents, const char* What,
                                     TArray<float>& OutValues) const
{
    thread_local TArray<double> Values;
    ReadComponents(GetAccessor(AccessorIndex, What), NumComponents, What, Values);
    OutValues.SetNum(Values.Num());
    for (int32 Index = 0; Index < Values.Num(); ++Index)
    {
        OutValues[Index] = static_cast<float>(Values[Index]);
        if (!std::isfinite(OutValues[Index]))
        {
            FailImport("%s holds a value that is not a finite number", What);
        }
    }
}

void FGltfAccessorReader::ReadIndices(int32 AccessorIndex, int32 NumComponents, const char* What,
                                      TArray<uint32>& OutValues) const
{
    const tinygltf::Accessor& Accessor = GetAccessor(AccessorIndex, What);
    if (Accessor.componentType == TINYGLTF_COMPONENT_TYPE_FLOAT || Accessor.normalized)
    {
        FailImport("%s must hold unsigned integers", What);
    }
    thread_local TArray<double> Values;
    ReadComponents(Accessor, NumComponents, What, Values);
    OutValues.SetNum(Values.Num());
    for (int32 Index = 0; Index < Values.Num(); ++Index)
    {
        if (Values[Index] < 0)
        {
            FailImport("%s holds a negative index", What);
        }
        OutValues[Index] = static_cast<uint32>(Values[Index]);
    }
}
