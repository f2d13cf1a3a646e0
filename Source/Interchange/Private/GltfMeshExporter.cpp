#include "Interchange/Private/GltfMeshExporter.h"

#include "Interchange/Private/InterchangeExtras.h"
#include "Interchange/Private/SkinWeightQuantizer.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

#include <cmath>

using nlohmann::json;

namespace
{
bool IsUsable(const FVector3f& V)
{
    return V.SizeSquared() > 1e-12f;
}

FVector3f Unit(const FVector3f& V)
{
    const float LengthSquared = V.SizeSquared();
    return std::abs(LengthSquared - 1.0f) < 1e-6f ? V : V / std::sqrt(LengthSquared);
}

class FMeshWriter
{
public:
    FMeshWriter(const FMeshDescription& InDescription, FGltfBufferWriter& InWriter, tinygltf::Model& InModel)
        : Description(InDescription), Attributes(InDescription), Writer(InWriter), Model(InModel)
    {
    }

    FGltfMeshExport Write(const TArray<int32>& MaterialOfGroup, const FString& Name)
    {
        NumberElements();
        CollectGroupIndices();
        tinygltf::Mesh Mesh;
        Mesh.name = Name.ToStdString();
        std::map<std::string, int> Shared = WriteVertexAttributes();
        std::vector<std::map<std::string, int>> Targets = WriteMorphTargets();
        json EmptyGroups = json::array();
        const auto SlotNames = Attributes.GetPolygonGroupMaterialSlotNames();
        for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
        {
            const FName SlotName = SlotNames.IsValid() ? SlotNames[Group] : NAME_None;
            const TArray<uint32>& Indices = IndicesOfGroup[Group.GetValue()];
            if (Indices.IsEmpty())
            {
                EmptyGroups.push_back({{"group", Group.GetValue()}, {"slotName", *SlotName.ToString()}});
                continue;
            }
            tinygltf::Primitive Primitive;
            Primitive.attributes = Shared;
            Primitive.targets = Targets;
            Primitive.mode = TINYGLTF_MODE_TRIANGLES;
            Primitive.indices = Writer.AddIndices(Indices);
            const int32 Material = MaterialOfGroup.IsValidIndex(Group.GetValue())
                                       ? MaterialOfGroup[Group.GetValue()]
                                       : INDEX_NONE;
            Primitive.material =
                Material >= 0 && Material < static_cast<int32>(Model.materials.size()) ? Material : -1;
            Primitive.extras = InterchangeExtras::ToGltf(
                {{InterchangeExtras::Key,
                  {{"group", Group.GetValue()}, {"slotName", *SlotName.ToString()}}}});
            Mesh.primitives.push_back(std::move(Primitive));
        }
        json Own{{"emptyGroups", EmptyGroups}};
        if (!DroppedVertices.empty())
        {
            Own["influences"] = {{"vertices", DroppedVertices},
                                 {"counts", DroppedCounts},
                                 {"bones", DroppedBones},
                                 {"weights", DroppedWeights},
                                 {"note", "vertices with more than four influences: their full lists"}};
        }
        if (!UnweightedVertices.empty())
        {
            Own["unweighted"] = UnweightedVertices;
        }
        json Extras{{InterchangeExtras::Key, Own}};
        json Names = json::array();
        for (const FName Morph : Attributes.GetMorphTargetNames())
        {
            Names.push_back(*Morph.ToString());
        }
        if (!Names.empty())
        {
            Extras["targetNames"] = Names;
        }
        Mesh.extras = InterchangeExtras::ToGltf(Extras);
        Model.meshes.push_back(std::move(Mesh));
        return FGltfMeshExport{static_cast<int32>(Model.meshes.size()) - 1,
                               static_cast<int32>(DroppedVertices.size())};
    }

private:
    void NumberElements()
    {
        VertexNumber.Init(INDEX_NONE, Description.Vertices().GetArraySize());
        int32 Next = 0;
        for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
        {
            VertexNumber[Vertex.GetValue()] = Next++;
        }
        InstanceNumber.Init(INDEX_NONE, Description.VertexInstances().GetArraySize());
        VertexHasInstance.Init(0, Description.Vertices().GetArraySize());
        for (const FVertexInstanceID Instance : Description.VertexInstances().GetElementIDs())
        {
            InstanceNumber[Instance.GetValue()] = Instances.Add(Instance);
            VertexHasInstance[Description.GetVertexInstanceVertex(Instance).GetValue()] = 1;
        }
    }

    std::map<std::string, int> WriteVertexAttributes()
    {
        std::map<std::string, int> Accessors;
        const auto Positions = Attributes.GetVertexPositions();
        const TVertexInstanceAttributes<true> Corner = Attributes.GetVertexInstanceAttributes();
        TArray<float> Values;
        ForEachInstance(3, Values,
                        [&](FVertexInstanceID Instance, float* Out)
                        {
                            const FVector3f& P = Positions[Description.GetVertexInstanceVertex(Instance)];
                            Out[0] = P.X, Out[1] = P.Y, Out[2] = P.Z;
                        });
        Accessors["POSITION"] = Writer.AddFloats(Values, 3, true, TINYGLTF_TARGET_ARRAY_BUFFER);
        // Vertex attributes cannot be 32-bit integers and floats lose integers above 2^24: each number is
        // written exactly as its low and high 16 bits.
        TArray<uint16> Halves;
        Halves.SetNum(Instances.Num() * 2);
        for (int32 Index = 0; Index < Instances.Num(); ++Index)
        {
            const uint32 Number = static_cast<uint32>(
                VertexNumber[Description.GetVertexInstanceVertex(Instances[Index]).GetValue()]);
            Halves[Index * 2] = static_cast<uint16>(Number & 0xFFFF);
            Halves[Index * 2 + 1] = static_cast<uint16>(Number >> 16);
        }
        Accessors["_VERTEX"] = Writer.AddUnsignedShorts(Halves, 2, TINYGLTF_TARGET_ARRAY_BUFFER);
        if (Corner.Normals.IsValid() && AllUsable(Corner.Normals))
        {
            ForEachInstance(3, Values,
                            [&](FVertexInstanceID Instance, float* Out)
                            {
                                const FVector3f N = Unit(Corner.Normals[Instance]);
                                Out[0] = N.X, Out[1] = N.Y, Out[2] = N.Z;
                            });
            Accessors["NORMAL"] = Writer.AddFloats(Values, 3, false, TINYGLTF_TARGET_ARRAY_BUFFER);
            if (Corner.Tangents.IsValid() && AllUsable(Corner.Tangents))
            {
                ForEachInstance(4, Values,
                                [&](FVertexInstanceID Instance, float* Out)
                                {
                                    const FVector3f T = Unit(Corner.Tangents[Instance]);
                                    const float Sign = Corner.BinormalSigns.IsValid()
                                                           ? Corner.BinormalSigns[Instance]
                                                           : 1.0f;
                                    Out[0] = T.X, Out[1] = T.Y, Out[2] = T.Z,
                                    Out[3] = Sign < 0.0f ? -1.0f : 1.0f;
                                });
                Accessors["TANGENT"] = Writer.AddFloats(Values, 4, false, TINYGLTF_TARGET_ARRAY_BUFFER);
            }
        }
        const int32 NumUVs = Corner.UVs.IsValid() ? Corner.UVs.GetNumChannels() : 0;
        for (int32 Channel = 0; Channel < NumUVs; ++Channel)
        {
            ForEachInstance(2, Values,
                            [&](FVertexInstanceID Instance, float* Out)
                            {
                                const FVector2f& UV = Corner.UVs.Get(Instance, Channel);
                                Out[0] = UV.X, Out[1] = UV.Y;
                            });
            Accessors["TEXCOORD_" + std::to_string(Channel)] =
                Writer.AddFloats(Values, 2, false, TINYGLTF_TARGET_ARRAY_BUFFER);
        }
        if (Corner.Colors.IsValid())
        {
            ForEachInstance(4, Values,
                            [&](FVertexInstanceID Instance, float* Out)
                            {
                                const FVector4f& C = Corner.Colors[Instance];
                                Out[0] = C.X, Out[1] = C.Y, Out[2] = C.Z, Out[3] = C.W;
                            });
            Accessors["COLOR_0"] = Writer.AddFloats(Values, 4, false, TINYGLTF_TARGET_ARRAY_BUFFER);
        }
        WriteSkin(Accessors);
        return Accessors;
    }

    template <typename RefType>
    bool AllUsable(const RefType& Ref) const
    {
        for (const FVertexInstanceID Instance : Instances)
        {
            if (!IsUsable(Ref[Instance]))
            {
                return false;
            }
        }
        return true;
    }

    template <typename FunctionType>
    void ForEachInstance(int32 NumComponents, TArray<float>& OutValues, FunctionType&& Fill) const
    {
        OutValues.SetNum(Instances.Num() * NumComponents);
        for (int32 Index = 0; Index < Instances.Num(); ++Index)
        {
            Fill(Instances[Index], &OutValues[Index * NumComponents]);
        }
    }

    /** Per vertex the four influences the file carries, keeping the full list aside when it was longer. */
    void WriteSkin(std::map<std::string, int>& Accessors)
    {
        const auto Weights = Attributes.GetVertexSkinWeights();
        TArray<uint16> VertexJoints;
        TArray<float> VertexWeights;
        VertexJoints.Init(0, Description.Vertices().GetArraySize() * 4);
        VertexWeights.Init(0.0f, Description.Vertices().GetArraySize() * 4);
        TArray<FBoneWeight> Kept;
        for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
        {
            if (!VertexHasInstance[Vertex.GetValue()])
            {
                // No corner carries this vertex into the file, so the extras must not name it either.
                continue;
            }
            const std::span<const FBoneWeight> Influences =
                Weights.IsValid() ? Weights.Get(Vertex) : std::span<const FBoneWeight>();
            if (KeepHeaviestInfluences(Influences, 4, Kept))
            {
                RecordDropped(Vertex, Influences);
            }
            // A reader skips influences without weight, so the file holds none: it reads back as written.
            Kept.RemoveAll([](const FBoneWeight& Influence) { return Influence.RawWeight == 0; });
            if (Kept.IsEmpty())
            {
                // glTF wants every skinned vertex weighted; the extras say that this one is not.
                UnweightedVertices.push_back(VertexNumber[Vertex.GetValue()]);
                Kept.Add(FBoneWeight{0, FBoneWeight::MaxRawWeight});
            }
            for (int32 Slot = 0; Slot < Kept.Num(); ++Slot)
            {
                // Unused slots keep joint 0 and weight 0, as glTF asks.
                VertexJoints[Vertex.GetValue() * 4 + Slot] = Kept[Slot].BoneIndex;
                VertexWeights[Vertex.GetValue() * 4 + Slot] = Kept[Slot].GetWeight();
            }
        }
        TArray<uint16> Joints;
        TArray<float> Values;
        Joints.SetNum(Instances.Num() * 4);
        Values.SetNum(Instances.Num() * 4);
        for (int32 Index = 0; Index < Instances.Num(); ++Index)
        {
            const int32 Vertex = Description.GetVertexInstanceVertex(Instances[Index]).GetValue();
            for (int32 Slot = 0; Slot < 4; ++Slot)
            {
                Joints[Index * 4 + Slot] = VertexJoints[Vertex * 4 + Slot];
                Values[Index * 4 + Slot] = VertexWeights[Vertex * 4 + Slot];
            }
        }
        Accessors["JOINTS_0"] = Writer.AddUnsignedShorts(Joints, 4, TINYGLTF_TARGET_ARRAY_BUFFER);
        Accessors["WEIGHTS_0"] = Writer.AddFloats(Values, 4, false, TINYGLTF_TARGET_ARRAY_BUFFER);
    }

    void RecordDropped(FVertexID Vertex, std::span<const FBoneWeight> Influences)
    {
        DroppedVertices.push_back(VertexNumber[Vertex.GetValue()]);
        DroppedCounts.push_back(Influences.size());
        for (const FBoneWeight& Influence : Influences)
        {
            DroppedBones.push_back(Influence.BoneIndex);
            DroppedWeights.push_back(Influence.RawWeight);
        }
    }

    /** A morph delta with every zero written as +0: a reader keeps no sign for a delta that does not move. */
    static void WriteDelta(const FVector3f& Delta, float* Out)
    {
        Out[0] = Delta.X + 0.0f, Out[1] = Delta.Y + 0.0f, Out[2] = Delta.Z + 0.0f;
    }

    std::vector<std::map<std::string, int>> WriteMorphTargets()
    {
        std::vector<std::map<std::string, int>> Targets;
        TArray<float> Values;
        for (const FName Morph : Attributes.GetMorphTargetNames())
        {
            std::map<std::string, int> Target;
            const auto Deltas = Attributes.GetVertexMorphPositionDelta(Morph);
            ForEachInstance(3, Values,
                            [&](FVertexInstanceID Instance, float* Out)
                            {
                                WriteDelta(Deltas[Description.GetVertexInstanceVertex(Instance)], Out);
                            });
            Target["POSITION"] = Writer.AddFloats(Values, 3, true, TINYGLTF_TARGET_ARRAY_BUFFER);
            if (Attributes.HasMorphTargetNormalsAttribute(Morph))
            {
                const auto Normals = Attributes.GetVertexInstanceMorphNormalDelta(Morph);
                ForEachInstance(3, Values,
                                [&](FVertexInstanceID Instance, float* Out)
                                {
                                    WriteDelta(Normals[Instance], Out);
                                });
                Target["NORMAL"] = Writer.AddFloats(Values, 3, false, TINYGLTF_TARGET_ARRAY_BUFFER);
            }
            Targets.push_back(std::move(Target));
        }
        return Targets;
    }

    /** The corners of every group's triangles, in ascending triangle order, in one pass. */
    void CollectGroupIndices()
    {
        IndicesOfGroup.SetNum(Description.PolygonGroups().GetArraySize());
        for (const FTriangleID Triangle : Description.Triangles().GetElementIDs())
        {
            TArray<uint32>& Indices =
                IndicesOfGroup[Description.GetTrianglePolygonGroup(Triangle).GetValue()];
            for (const FVertexInstanceID Corner : Description.GetTriangleVertexInstances(Triangle))
            {
                Indices.Add(static_cast<uint32>(InstanceNumber[Corner.GetValue()]));
            }
        }
    }

    const FMeshDescription& Description;
    FSkeletalMeshAttributesShared Attributes;
    FGltfBufferWriter& Writer;
    tinygltf::Model& Model;
    TArray<int32> VertexNumber;
    /** Nonzero for the vertices some instance, and so some corner of the file, carries. */
    TArray<uint8> VertexHasInstance;
    TArray<int32> InstanceNumber;
    TArray<FVertexInstanceID> Instances;
    TArray<TArray<uint32>> IndicesOfGroup;
    std::vector<int32> DroppedVertices;
    std::vector<size_t> DroppedCounts;
    std::vector<int32> DroppedBones;
    std::vector<int32> DroppedWeights;
    std::vector<int32> UnweightedVertices;
};
} // namespace

FGltfMeshExport WriteGltfMesh(const FMeshDescription& Description, const TArray<int32>& MaterialOfGroup,
                              const FString& Name, FGltfBufferWriter& Writer, tinygltf::Model& Model)
{
    return FMeshWriter(Description, Writer, Model).Write(MaterialOfGroup, Name);
}
