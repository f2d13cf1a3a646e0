#include "Interchange/Private/GltfMeshImporter.h"

#include "Interchange/Private/GltfAccessorReader.h"
#include "Interchange/Private/InterchangeExtras.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/UniqueNameSet.h"

#include <map>

namespace
{
constexpr int32 MaxUVChannels = 8;

/** A run of file vertices read from one set of vertex accessors. */
struct FVertexBlock
{
    int32 Instance = 0;
    const tinygltf::Primitive* Primitive = nullptr;
    int32 Start = 0;
    int32 Count = 0;
};

struct FPrimitiveRef
{
    int32 Block = 0;
    int32 Instance = 0;
    int32 Mesh = 0;
    int32 PrimitiveIndex = 0;
};

int32 FindAttribute(const tinygltf::Primitive& Primitive, const std::string& Name)
{
    const auto Found = Primitive.attributes.find(Name);
    return Found == Primitive.attributes.end() ? INDEX_NONE : Found->second;
}

int32 FindTargetAttribute(const std::map<std::string, int>& Target, const char* Name)
{
    const auto Found = Target.find(Name);
    return Found == Target.end() ? INDEX_NONE : Found->second;
}

/** The morph target names a mesh's extras give ("targetNames"); an empty entry where one is missing. */
TArray<FString> ReadTargetNames(const tinygltf::Mesh& Mesh)
{
    TArray<FString> Names;
    const nlohmann::json Extras = InterchangeExtras::FromGltf(Mesh.extras);
    if (!Extras.is_object() || !Extras.contains("targetNames") || !Extras["targetNames"].is_array())
    {
        return Names;
    }
    for (const nlohmann::json& Name : Extras["targetNames"])
    {
        Names.Add(Name.is_string() ? FString(Name.get<std::string>()) : FString());
    }
    return Names;
}

class FMeshReader
{
public:
    FMeshReader(const tinygltf::Model& InModel, const FGltfNodeGraph& InGraph,
                const FGltfSkeletonBinding& InBinding, const TArray<FGltfMeshInstance>& InInstances,
                bool bInOwnExtras, FSourceMesh& InMesh, TArray<FImportedSlot>& InSlots,
                TArray<FString>& InWarnings)
        : Model(InModel), Graph(InGraph), Binding(InBinding), Instances(InInstances),
          bOwnExtras(bInOwnExtras), Mesh(InMesh), Slots(InSlots), Warnings(InWarnings), Reader(InModel)
    {
    }

    void Read()
    {
        CollectBlocks();
        SizeArrays();
        for (int32 Block = 0; Block < Blocks.Num(); ++Block)
        {
            ReadBlock(Block);
        }
        for (const FPrimitiveRef& Primitive : Primitives)
        {
            ReadTriangles(Primitive);
        }
        AddEmptyGroups();
        if (NumSkippedPrimitives > 0)
        {
            Warnings.Add(FString::Printf("skipped %d primitive(s) of points or lines", NumSkippedPrimitives));
        }
    }

private:
    const tinygltf::Primitive& GetPrimitive(const FPrimitiveRef& Ref) const
    {
        return Model.meshes[Ref.Mesh].primitives[Ref.PrimitiveIndex];
    }

    static std::string BlockKey(int32 Instance, const tinygltf::Primitive& Primitive)
    {
        std::string Key = std::to_string(Instance);
        for (const auto& [Name, Accessor] : Primitive.attributes)
        {
            Key += "|" + Name + "=" + std::to_string(Accessor);
        }
        for (const auto& Target : Primitive.targets)
        {
            Key += "|T";
            for (const auto& [Name, Accessor] : Target)
            {
                Key += "," + Name + "=" + std::to_string(Accessor);
            }
        }
        return Key;
    }

    void CollectBlocks()
    {
        std::map<std::string, int32> BlockOfKey;
        for (int32 Instance = 0; Instance < Instances.Num(); ++Instance)
        {
            const int32 MeshIndex = Instances[Instance].Mesh;
            if (MeshIndex < 0 || MeshIndex >= static_cast<int32>(Model.meshes.size()))
            {
                FailImport("a node refers to mesh %d, which does not exist", MeshIndex);
            }
            const tinygltf::Mesh& FileMesh = Model.meshes[MeshIndex];
            for (int32 Index = 0; Index < static_cast<int32>(FileMesh.primitives.size()); ++Index)
            {
                const tinygltf::Primitive& Primitive = FileMesh.primitives[Index];
                if (Primitive.mode >= TINYGLTF_MODE_POINTS && Primitive.mode <= TINYGLTF_MODE_LINE_STRIP)
                {
                    ++NumSkippedPrimitives;
                    continue;
                }
                if (Primitive.mode > TINYGLTF_MODE_TRIANGLE_FAN || Primitive.mode < 0)
                {
                    FailImport("mesh %d uses the unsupported primitive mode %d", MeshIndex, Primitive.mode);
                }
                const int32 Position = FindAttribute(Primitive, "POSITION");
                if (Position == INDEX_NONE)
                {
                    FailImport("a primitive of mesh %d has no POSITION attribute", MeshIndex);
                }
                CollectMorphNames(MeshIndex, Primitive);
                const auto [Found, bNew] =
                    BlockOfKey.try_emplace(BlockKey(Instance, Primitive), Blocks.Num());
                if (bNew)
                {
                    const int32 Count = Reader.GetCount(Position, "POSITION");
                    Blocks.Add(FVertexBlock{Instance, &Primitive, Mesh.NumVertices, Count});
                    if (Count > INT32_MAX / 4 - Mesh.NumVertices)
                    {
                        FailImport("the meshes have too many vertices");
                    }
                    Mesh.NumVertices += Count;
                }
                Primitives.Add(FPrimitiveRef{Found->second, Instance, MeshIndex, Index});
            }
        }
    }

    /** The name of a mesh's morph target: the one its extras give, else one made from its index. */
    FName MorphName(int32 MeshIndex, int32 Target)
    {
        auto Found = TargetNamesOfMesh.find(MeshIndex);
        if (Found == TargetNamesOfMesh.end())
        {
            Found = TargetNamesOfMesh.emplace(MeshIndex, ReadTargetNames(Model.meshes[MeshIndex])).first;
        }
        const TArray<FString>& Names = Found->second;
        return Names.IsValidIndex(Target) && !FUniqueNameSet::IsNoneName(Names[Target])
                   ? FName(Names[Target])
                   : FName(FString::Printf("MorphTarget_%d", Target));
    }

    void CollectMorphNames(int32 MeshIndex, const tinygltf::Primitive& Primitive)
    {
        for (int32 Target = 0; Target < static_cast<int32>(Primitive.targets.size()); ++Target)
        {
            const FName Name = MorphName(MeshIndex, Target);
            int32 Morph = Mesh.MorphNames.Find(Name);
            if (Morph == INDEX_NONE)
            {
                Morph = Mesh.MorphNames.Add(Name);
                Mesh.MorphHasNormals.Add(0);
            }
            if (FindTargetAttribute(Primitive.targets[Target], "NORMAL") != INDEX_NONE)
            {
                Mesh.MorphHasNormals[Morph] = 1;
            }
        }
    }

    bool AllBlocksHave(const char* Attribute) const
    {
        for (const FVertexBlock& Block : Blocks)
        {
            if (FindAttribute(*Block.Primitive, Attribute) == INDEX_NONE)
            {
                return false;
            }
        }
        return !Blocks.IsEmpty();
    }

    bool AnyBlockHas(const char* Attribute) const
    {
        for (const FVertexBlock& Block : Blocks)
        {
            if (FindAttribute(*Block.Primitive, Attribute) != INDEX_NONE)
            {
                return true;
            }
        }
        return false;
    }

    void SizeArrays()
    {
        const int32 N = Mesh.NumVertices;
        Mesh.Positions.SetNum(N);
        if (AllBlocksHave("NORMAL"))
        {
            Mesh.Normals.SetNum(N);
            if (AllBlocksHave("TANGENT"))
            {
                Mesh.Tangents.SetNum(N);
            }
        }
        while (Mesh.NumUVChannels < MaxUVChannels &&
               AnyBlockHas(("TEXCOORD_" + std::to_string(Mesh.NumUVChannels)).c_str()))
        {
            ++Mesh.NumUVChannels;
        }
        Mesh.UVs.Init(FVector2f(0.0f, 0.0f), SizePerVertexArray(N, Mesh.NumUVChannels, "UV channels"));
        if (AnyBlockHas("COLOR_0"))
        {
            Mesh.Colors.Init(FVector4f(1.0f, 1.0f, 1.0f, 1.0f), N);
        }
        if (AllBlocksHave("_VERTEX"))
        {
            Mesh.VertexIDs.SetNum(N);
        }
        Mesh.InfluenceStarts.Init(0, N + 1);
        const int32 NumMorphEntries = SizePerVertexArray(N, Mesh.MorphNames.Num(), "morph targets");
        Mesh.MorphPositions.Init(FVector3f(0.0f, 0.0f, 0.0f), NumMorphEntries);
        Mesh.MorphNormals.Init(FVector3f(0.0f, 0.0f, 0.0f), NumMorphEntries);
    }

    /** The transform that takes the block's vertices into file world (bind) space. */
    FMatrix PlacementOf(const FGltfMeshInstance& Instance) const
    {
        return Instance.Skin != INDEX_NONE || Instance.Node == INDEX_NONE ? FMatrix::Identity
                                                                          : Graph.GetGlobal(Instance.Node);
    }

    void ReadBlock(int32 BlockIndex)
    {
        const FVertexBlock& Block = Blocks[BlockIndex];
        const FGltfMeshInstance& Instance = Instances[Block.Instance];
        const tinygltf::Primitive& Primitive = *Block.Primitive;
        const FMatrix Placement = PlacementOf(Instance);
        const FMatrix NormalPlacement = Placement.Inverse().GetTransposed();
        const FAxisConversion& Conversion = Graph.GetConversion();
        TArray<float> Values;

        ReadAttribute(Primitive, "POSITION", 3, Block.Count, Values, true);
        for (int32 V = 0; V < Block.Count; ++V)
        {
            const FVector P(Values[V * 3], Values[V * 3 + 1], Values[V * 3 + 2]);
            Mesh.Positions[Block.Start + V] = FVector3f(Conversion.Position(Placement.TransformPosition(P)));
        }
        if (!Mesh.Normals.IsEmpty())
        {
            ReadAttribute(Primitive, "NORMAL", 3, Block.Count, Values, true);
            for (int32 V = 0; V < Block.Count; ++V)
            {
                const FVector Normal(Values[V * 3], Values[V * 3 + 1], Values[V * 3 + 2]);
                Mesh.Normals[Block.Start + V] = FVector3f(Conversion.Direction(
                    Renormalize(NormalPlacement.TransformVector(Normal), Normal, Placement)));
            }
        }
        if (!Mesh.Tangents.IsEmpty())
        {
            ReadAttribute(Primitive, "TANGENT", 4, Block.Count, Values, true);
            const float Mirror = Placement.Determinant() < 0.0 ? -1.0f : 1.0f;
            for (int32 V = 0; V < Block.Count; ++V)
            {
                const FVector Tangent(Values[V * 4], Values[V * 4 + 1], Values[V * 4 + 2]);
                const FVector3f Host(Conversion.Direction(
                    Renormalize(Placement.TransformVector(Tangent), Tangent, Placement)));
                Mesh.Tangents[Block.Start + V] =
                    FVector4f(Host.X, Host.Y, Host.Z, Values[V * 4 + 3] * Mirror);
            }
        }
        ReadCornerExtras(Primitive, Block, Values);
        ReadInfluences(Block, Instance);
        ReadMorphs(Block, Placement);
    }

    /** Keeps a unit vector unit after placement; an identity placement keeps the file's value exactly. */
    static FVector Renormalize(const FVector& Placed, const FVector& Original, const FMatrix& Placement)
    {
        if (Placement == FMatrix::Identity)
        {
            return Original;
        }
        const double Length = Placed.Size();
        return Length > 0.0 ? Placed / Length : Placed;
    }

    void ReadCornerExtras(const tinygltf::Primitive& Primitive, const FVertexBlock& Block,
                          TArray<float>& Values)
    {
        for (int32 Channel = 0; Channel < Mesh.NumUVChannels; ++Channel)
        {
            if (ReadAttribute(Primitive, ("TEXCOORD_" + std::to_string(Channel)).c_str(), 2, Block.Count,
                              Values, false))
            {
                for (int32 V = 0; V < Block.Count; ++V)
                {
                    Mesh.UVs[(Block.Start + V) * Mesh.NumUVChannels + Channel] =
                        FVector2f(Values[V * 2], Values[V * 2 + 1]);
                }
            }
        }
        const int32 Color = FindAttribute(Primitive, "COLOR_0");
        if (Color != INDEX_NONE)
        {
            const int32 NumComponents = Reader.GetNumComponents(Color, "COLOR_0") == 3 ? 3 : 4;
            ReadAttribute(Primitive, "COLOR_0", NumComponents, Block.Count, Values, true);
            for (int32 V = 0; V < Block.Count; ++V)
            {
                const float* C = &Values[V * NumComponents];
                Mesh.Colors[Block.Start + V] = FVector4f(C[0], C[1], C[2], NumComponents == 4 ? C[3] : 1.0f);
            }
        }
        if (!Mesh.VertexIDs.IsEmpty())
        {
            ReadVertexIDs(Primitive, Block);
        }
    }

    /** The mesh vertex of each file vertex: _VERTEX holds its low and high 16 bits. */
    void ReadVertexIDs(const tinygltf::Primitive& Primitive, const FVertexBlock& Block)
    {
        TArray<uint32> Halves;
        Reader.ReadIndices(FindAttribute(Primitive, "_VERTEX"), 2, "_VERTEX", Halves);
        CheckCount("_VERTEX", Halves.Num() / 2, Block.Count);
        for (int32 V = 0; V < Block.Count; ++V)
        {
            const uint32 Low = Halves[V * 2];
            const uint32 High = Halves[V * 2 + 1];
            if (Low > 0xFFFF || High > 0x7FFF)
            {
                FailImport("_VERTEX holds a vertex ID out of range (%u, %u)", Low, High);
            }
            Mesh.VertexIDs[Block.Start + V] = static_cast<int32>(Low | (High << 16));
        }
    }

    /** Reads an attribute of Count elements; false when the primitive lacks it and it is optional. */
    bool ReadAttribute(const tinygltf::Primitive& Primitive, const char* Name, int32 NumComponents,
                       int32 Count, TArray<float>& OutValues, bool bRequired)
    {
        const int32 Accessor = FindAttribute(Primitive, Name);
        if (Accessor == INDEX_NONE)
        {
            if (bRequired)
            {
                FailImport("a primitive lacks the %s attribute", Name);
            }
            return false;
        }
        Reader.ReadFloats(Accessor, NumComponents, Name, OutValues);
        CheckCount(Name, OutValues.Num() / NumComponents, Count);
        return true;
    }

    static void CheckCount(const char* Name, int32 Actual, int32 Expected)
    {
        if (Actual != Expected)
        {
            FailImport("the %s attribute has %d elements where POSITION has %d", Name, Actual, Expected);
        }
    }

    int32 RigidBone(const FGltfMeshInstance& Instance) const
    {
        for (int32 Node = Instance.Node; Node != INDEX_NONE; Node = Graph.GetParent(Node))
        {
            if (Binding.BoneOfNode[Node] != INDEX_NONE)
            {
                return Binding.BoneOfNode[Node];
            }
        }
        return 0;
    }

    void ReadInfluences(const FVertexBlock& Block, const FGltfMeshInstance& Instance)
    {
        TArray<TArray<uint32>> JointSets;
        TArray<TArray<float>> WeightSets;
        if (Instance.Skin != INDEX_NONE)
        {
            for (int32 Set = 0;; ++Set)
            {
                const std::string Suffix = std::to_string(Set);
                const int32 Joints = FindAttribute(*Block.Primitive, "JOINTS_" + Suffix);
                const int32 Weights = FindAttribute(*Block.Primitive, "WEIGHTS_" + Suffix);
                if (Joints == INDEX_NONE || Weights == INDEX_NONE)
                {
                    break;
                }
                Reader.ReadIndices(Joints, 4, "JOINTS", JointSets.Emplace_GetRef());
                Reader.ReadFloats(Weights, 4, "WEIGHTS", WeightSets.Emplace_GetRef());
                CheckCount("JOINTS", JointSets.Last().Num() / 4, Block.Count);
                CheckCount("WEIGHTS", WeightSets.Last().Num() / 4, Block.Count);
            }
        }
        const TArray<int32>& JointBones =
            Instance.Skin != INDEX_NONE ? Binding.SkinJointBones[Instance.Skin] : NoBones;
        const int32 Rigid = RigidBone(Instance);
        for (int32 V = 0; V < Block.Count; ++V)
        {
            Mesh.InfluenceStarts[Block.Start + V] = Mesh.Influences.Num();
            for (int32 Set = 0; Set < JointSets.Num(); ++Set)
            {
                for (int32 Slot = 0; Slot < 4; ++Slot)
                {
                    const float Weight = WeightSets[Set][V * 4 + Slot];
                    if (Weight < 0.0f)
                    {
                        FailImport("a skin weight is negative (%g)", Weight);
                    }
                    const uint32 Joint = JointSets[Set][V * 4 + Slot];
                    if (Joint >= static_cast<uint32>(JointBones.Num()))
                    {
                        FailImport("joint index %u is out of range (the skin has %d joints)", Joint,
                                   JointBones.Num());
                    }
                    if (Weight > 0.0f)
                    {
                        Mesh.Influences.Add(FSourceInfluence{JointBones[static_cast<int32>(Joint)], Weight});
                    }
                }
            }
            if (JointSets.IsEmpty())
            {
                Mesh.Influences.Add(FSourceInfluence{Rigid, 1.0f});
            }
            Mesh.InfluenceStarts[Block.Start + V + 1] = Mesh.Influences.Num();
        }
    }

    void ReadMorphs(const FVertexBlock& Block, const FMatrix& Placement)
    {
        const tinygltf::Primitive& Primitive = *Block.Primitive;
        const FAxisConversion& Conversion = Graph.GetConversion();
        const FMatrix NormalPlacement = Placement.Inverse().GetTransposed();
        TArray<float> Values;
        for (int32 Target = 0; Target < static_cast<int32>(Primitive.targets.size()); ++Target)
        {
            const int32 Morph = Mesh.MorphNames.Find(MorphName(MeshOf(Block), Target));
            const int32 Base = Morph * Mesh.NumVertices + Block.Start;
            const auto ReadDeltas = [&](const char* Attribute, TArray<FVector3f>& Out, auto Place)
            {
                const int32 Accessor = FindTargetAttribute(Primitive.targets[Target], Attribute);
                if (Accessor == INDEX_NONE)
                {
                    return;
                }
                const FString What = FString("a morph target's ") + Attribute;
                Reader.ReadFloats(Accessor, 3, *What, Values);
                CheckCount(*(FString("morph target ") + Attribute), Values.Num() / 3, Block.Count);
                for (int32 V = 0; V < Block.Count; ++V)
                {
                    Out[Base + V] =
                        FVector3f(Place(FVector(Values[V * 3], Values[V * 3 + 1], Values[V * 3 + 2])));
                }
            };
            ReadDeltas("POSITION", Mesh.MorphPositions,
                       [&](const FVector& Delta)
                       { return Conversion.Position(Placement.TransformVector(Delta)); });
            ReadDeltas("NORMAL", Mesh.MorphNormals,
                       [&](const FVector& Delta)
                       { return Conversion.Direction(NormalPlacement.TransformVector(Delta)); });
        }
    }

    int32 MeshOf(const FVertexBlock& Block) const { return Instances[Block.Instance].Mesh; }

    void ReadCorners(const tinygltf::Primitive& Primitive, int32 Count, TArray<uint32>& OutCorners)
    {
        if (Primitive.indices >= 0)
        {
            Reader.ReadIndices(Primitive.indices, 1, "the triangle indices", OutCorners);
        }
        else
        {
            OutCorners.SetNum(Count);
            for (int32 Index = 0; Index < Count; ++Index)
            {
                OutCorners[Index] = static_cast<uint32>(Index);
            }
        }
        for (const uint32 Corner : OutCorners)
        {
            if (Corner >= static_cast<uint32>(Count))
            {
                FailImport("triangle index %u is out of range (the primitive has %d vertices)", Corner,
                           Count);
            }
        }
    }

    void ReadTriangles(const FPrimitiveRef& Ref)
    {
        const tinygltf::Primitive& Primitive = GetPrimitive(Ref);
        const FVertexBlock& Block = Blocks[Ref.Block];
        TArray<uint32> Corners;
        ReadCorners(Primitive, Block.Count, Corners);
        FSourceGroup& Group = Mesh.Groups[FindOrAddGroup(Ref)];
        const bool bMirrored = PlacementOf(Instances[Ref.Instance]).Determinant() < 0.0;
        const auto AddTriangle = [&](uint32 A, uint32 B, uint32 C)
        {
            Group.Corners.Add(Block.Start + static_cast<int32>(A));
            Group.Corners.Add(Block.Start + static_cast<int32>(bMirrored ? C : B));
            Group.Corners.Add(Block.Start + static_cast<int32>(bMirrored ? B : C));
        };
        const int32 Num = Corners.Num();
        if (Primitive.mode == TINYGLTF_MODE_TRIANGLES)
        {
            for (int32 First = 0; First + 2 < Num; First += 3)
            {
                AddTriangle(Corners[First], Corners[First + 1], Corners[First + 2]);
            }
        }
        else if (Primitive.mode == TINYGLTF_MODE_TRIANGLE_STRIP)
        {
            for (int32 First = 0; First + 2 < Num; ++First)
            {
                const bool bOdd = (First & 1) != 0;
                AddTriangle(Corners[First], Corners[First + (bOdd ? 2 : 1)], Corners[First + (bOdd ? 1 : 2)]);
            }
        }
        else
        {
            for (int32 First = 1; First + 1 < Num; ++First)
            {
                AddTriangle(Corners[0], Corners[First], Corners[First + 1]);
            }
        }
    }

    int32 FindOrAddGroup(const FPrimitiveRef& Ref)
    {
        const tinygltf::Primitive& Primitive = GetPrimitive(Ref);
        int32 GroupID = 0;
        FName SlotName;
        if (bOwnExtras)
        {
            const nlohmann::json Extras = InterchangeExtras::Find(Primitive.extras);
            InterchangeExtras::Guard("primitive",
                                     [&]
                                     {
                                         GroupID = Extras.at("group").get<int32>();
                                         SlotName = FName(Extras.at("slotName").get<std::string>().c_str());
                                         return 0;
                                     });
        }
        else
        {
            GroupID = MaterialGroup(Primitive.material);
            SlotName = Slots[GroupID].SlotName;
        }
        return FindOrAddGroup(GroupID, SlotName);
    }

    int32 FindOrAddGroup(int32 GroupID, FName SlotName)
    {
        if (GroupID < 0 || GroupID > 65535)
        {
            FailImport("polygon group %d is out of range", GroupID);
        }
        for (int32 Index = 0; Index < Mesh.Groups.Num(); ++Index)
        {
            if (Mesh.Groups[Index].GroupID == GroupID)
            {
                return Index;
            }
        }
        return Mesh.Groups.Add(FSourceGroup{GroupID, SlotName, {}});
    }

    /** The group (and slot) of a material, made on first use. */
    int32 MaterialGroup(int32 Material)
    {
        if (Material >= static_cast<int32>(Model.materials.size()))
        {
            FailImport("a primitive refers to material %d, which does not exist", Material);
        }
        const auto Found = GroupOfMaterial.find(Material);
        if (Found != GroupOfMaterial.end())
        {
            return Found->second;
        }
        FImportedSlot Slot;
        Slot.bHasMaterial = Material >= 0;
        FString Name = "DefaultMaterial";
        if (Material >= 0)
        {
            const tinygltf::Material& Data = Model.materials[Material];
            Name = SlotNames.Take(FString(Data.name), FString::Printf("Material_%d", Material));
            const std::vector<double>& Color = Data.pbrMetallicRoughness.baseColorFactor;
            if (Color.size() == 4)
            {
                Slot.Material.BaseColor =
                    FVector4f(static_cast<float>(Color[0]), static_cast<float>(Color[1]),
                              static_cast<float>(Color[2]), static_cast<float>(Color[3]));
            }
            Slot.Material.Metallic = static_cast<float>(Data.pbrMetallicRoughness.metallicFactor);
            Slot.Material.Roughness = static_cast<float>(Data.pbrMetallicRoughness.roughnessFactor);
            Slot.Material.bTwoSided = Data.doubleSided;
        }
        else
        {
            Name = SlotNames.Take(Name, Name);
        }
        Slot.SlotName = FName(Name);
        Slot.ImportedSlotName = Slot.SlotName;
        Slot.Material.Name = FString("M_") + Name;
        const int32 Group = Slots.Add(Slot);
        GroupOfMaterial.emplace(Material, Group);
        return Group;
    }

    void AddEmptyGroups()
    {
        if (!bOwnExtras || Instances.IsEmpty())
        {
            return;
        }
        const nlohmann::json Extras = InterchangeExtras::Find(Model.meshes[Instances[0].Mesh].extras);
        if (!Extras.is_object() || !Extras.contains("emptyGroups"))
        {
            return;
        }
        InterchangeExtras::Guard("mesh",
                                 [&]
                                 {
                                     for (const nlohmann::json& Entry : Extras.at("emptyGroups"))
                                     {
                                         FindOrAddGroup(
                                             Entry.at("group").get<int32>(),
                                             FName(Entry.at("slotName").get<std::string>().c_str()));
                                     }
                                     return 0;
                                 });
    }

    const tinygltf::Model& Model;
    const FGltfNodeGraph& Graph;
    const FGltfSkeletonBinding& Binding;
    const TArray<FGltfMeshInstance>& Instances;
    bool bOwnExtras;
    FSourceMesh& Mesh;
    TArray<FImportedSlot>& Slots;
    TArray<FString>& Warnings;
    FGltfAccessorReader Reader;
    TArray<FVertexBlock> Blocks;
    TArray<FPrimitiveRef> Primitives;
    std::map<int32, int32> GroupOfMaterial;
    FUniqueNameSet SlotNames;
    std::map<int32, TArray<FString>> TargetNamesOfMesh;
    TArray<int32> NoBones;
    int32 NumSkippedPrimitives = 0;
};
} // namespace

void ReadGltfMeshes(const tinygltf::Model& Model, const FGltfNodeGraph& Graph,
                    const FGltfSkeletonBinding& Binding, const TArray<FGltfMeshInstance>& Instances,
                    bool bOwnExtras, FSourceMesh& OutMesh, TArray<FImportedSlot>& OutSlots,
                    TArray<FString>& OutWarnings)
{
    FMeshReader(Model, Graph, Binding, Instances, bOwnExtras, OutMesh, OutSlots, OutWarnings).Read();
}
