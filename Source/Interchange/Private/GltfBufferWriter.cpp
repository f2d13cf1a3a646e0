#include "Interchange/Private/GltfBufferWriter.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
int32 TypeOf(int32 NumComponents)
{
    switch (NumComponents)
    {
        case 1:
            return TINYGLTF_TYPE_SCALAR;
        case 2:
            return TINYGLTF_TYPE_VEC2;
        case 3:
            return TINYGLTF_TYPE_VEC3;
        case 4:
            return TINYGLTF_TYPE_VEC4;
        default:
            return TINYGLTF_TYPE_MAT4;
    }
}
} // namespace

FGltfBufferWriter::FGltfBufferWriter(tinygltf::Model& InModel) : Model(InModel)
{
    if (Model.buffers.empty())
    {
        Model.buffers.emplace_back();
    }
}

int32 FGltfBufferWriter::AddView(const void* Data, size_t Size, int32 Target)
{
    std::vector<unsigned char>& Bytes = Model.buffers[0].data;
    Bytes.resize((Bytes.size() + 3) & ~size_t(3), 0);
    tinygltf::BufferView View;
    View.buffer = 0;
    View.byteOffset = Bytes.size();
    View.byteLength = Size;
    View.target = Target;
    Bytes.insert(Bytes.end(), static_cast<const unsigned char*>(Data),
                 static_cast<const unsigned char*>(Data) + Size);
    Model.bufferViews.push_back(View);
    return static_cast<int32>(Model.bufferViews.size()) - 1;
}

int32 FGltfBufferWriter::AddAccessor(int32 View, int32 ComponentType, int32 NumComponents, int32 Count)
{
    tinygltf::Accessor Accessor;
    Accessor.bufferView = View;
    Accessor.byteOffset = 0;
    Accessor.componentType = ComponentType;
    Accessor.count = static_cast<size_t>(Count);
    Accessor.type = TypeOf(NumComponents);
    Model.accessors.push_back(Accessor);
    return static_cast<int32>(Model.accessors.size()) - 1;
}

int32 FGltfBufferWriter::AddFloats(const TArray<float>& Values, int32 NumComponents, bool bBounds,
                                   int32 Target)
{
    const int32 View = AddView(Values.GetData(), sizeof(float) * Values.Num(), Target);
    const int32 Count = Values.Num() / NumComponents;
    const int32 Index = AddAccessor(View, TINYGLTF_COMPONENT_TYPE_FLOAT, NumComponents, Count);
    if (bBounds && Count > 0)
    {
        tinygltf::Accessor& Accessor = Model.accessors[Index];
        Accessor.minValues.assign(NumComponents, std::numeric_limits<double>::max());
        Accessor.maxValues.assign(NumComponents, std::numeric_limits<double>::lowest());
        for (int32 Element = 0; Element < Count; ++Element)
        {
            for (int32 Component = 0; Component < NumComponents; ++Component)
            {
                const double Value = Values[Element * NumComponents + Component];
                Accessor.minValues[Component] = std::min(Accessor.minValues[Component], Value);
                Accessor.maxValues[Component] = std::max(Accessor.maxValues[Component], Value);
            }
        }
    }
    return Index;
}

int32 FGltfBufferWriter::AddUnsignedShorts(const TArray<uint16>& Values, int32 NumComponents, int32 Target)
{
    const int32 View = AddView(Values.GetData(), sizeof(uint16) * Values.Num(), Target);
    return AddAccessor(View, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, NumComponents,
                       Values.Num() / NumComponents);
}

int32 FGltfBufferWriter::AddIndices(const TArray<uint32>& Values)
{
    const int32 View =
        AddView(Values.GetData(), sizeof(uint32) * Values.Num(), TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    return AddAccessor(View, TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, 1, Values.Num());
}
