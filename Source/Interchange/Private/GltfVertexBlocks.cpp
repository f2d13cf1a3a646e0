#include "Interchange/Private/GltfVertexBlocks.h"

#include "Interchange/Private/GltfAccessorReader.h"
#include "Interchange/Private/GltfPrimitiveAttributes.h"
#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/InterchangeExtras.h"
#include "Interchange/Private/InterchangeFailure.h"

#include <map>

namespace
{
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

/** What tells blocks apart: the instance and every accessor its vertices are read from. */
std::string BlockKey(int32 Instance, const tinygltf::Primitive& Primitive)
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

class FBlockCollector
{
public:
    FBlockCollector(const tinygltf::Model& InModel, FSourceMesh& InMesh, FGltfVertexBlocks& OutResult)
        : Model(InModel), Mesh(InMesh), Result(OutResult), Reader(InModel)
    {
    }

    void Collect(int32 Instance, int32 MeshIndex)
    {
        if (MeshIndex < 0 || MeshIndex >= static_cast<int32>(Model.meshes.size()))
        {
            FailImport("a node refers to mesh %d, which does not exist", MeshIndex);
        }
        for (const tinygltf::Primitive& Primitive : Model.meshes[MeshIndex].primitives)
        {
            if (Primitive.mode >= TINYGLTF_MODE_POINTS && Primitive.mode <= TINYGLTF_MODE_LINE_STRIP)
            {
                ++Result.NumSkippedPrimitives;
                continue;
            }
            if (Primitive.mode > TINYGLTF_MODE_TRIANGLE_FAN || Primitive.mode < 0)
            {
                FailImport("mesh %d uses the unsupported primitive mode %d", MeshIndex, Primitive.mode);
            }
            const int32 Position = FindGltfAttribute(Primitive.attributes, "POSITION");
            if (Position == INDEX_NONE)
            {
                FailImport("a primitive of mesh %d has no POSITION attribute", MeshIndex);
            }
            const auto [Found, bNew] =
                BlockOfKey.try_emplace(BlockKey(Instance, Primitive), Result.Blocks.Num());
            if (bNew)
            {
                FGltfVertexBlock& Block = Result.Blocks.Emplace_GetRef();
                Block.Instance = Instance;
                Block.Primitive = &Primitive;
                Block.Morphs = FindOrAddMorphs(MeshIndex, Primitive);
                Block.Count = Reader.GetCount(Position, "POSITION");
                Block.Start = Mesh.AddVertices(Block.Count);
            }
            Result.Primitives.Add(FGltfTrianglePrimitive{Found->second, &Primitive});
        }
    }

private:
    /** The source mesh's morph target of each target of the primitive, named as the mesh's extras say. */
    TArray<int32> FindOrAddMorphs(int32 MeshIndex, const tinygltf::Primitive& Primitive)
    {
        auto Found = TargetNamesOfMesh.find(MeshIndex);
        if (Found == TargetNamesOfMesh.end())
        {
            Found = TargetNamesOfMesh.emplace(MeshIndex, ReadTargetNames(Model.meshes[MeshIndex])).first;
        }
        const TArray<FString>& Names = Found->second;
        TArray<int32> Morphs;
        for (int32 Target = 0; Target < static_cast<int32>(Primitive.targets.size()); ++Target)
        {
            const int32 Morph = Mesh.FindOrAddMorph(
                MakeMorphTargetName(Names.IsValidIndex(Target) ? Names[Target] : FString(), Target));
            if (FindGltfAttribute(Primitive.targets[Target], "NORMAL") != INDEX_NONE)
            {
                Mesh.MorphHasNormals[Morph] = 1;
            }
            Morphs.Add(Morph);
        }
        return Morphs;
    }

    const tinygltf::Model& Model;
    FSourceMesh& Mesh;
    FGltfVertexBlocks& Result;
    FGltfAccessorReader Reader;
    std::map<std::string, int32> BlockOfKey;
    std::map<int32, TArray<FString>> TargetNamesOfMesh;
};

bool AllBlocksHave(const TArray<FGltfVertexBlock>& Blocks, const std::string& Attribute)
{
    for (const FGltfVertexBlock& Block : Blocks)
    {
        if (FindGltfAttribute(Block.Primitive->attributes, Attribute) == INDEX_NONE)
        {
            return false;
        }
    }
    return !Blocks.IsEmpty();
}

bool AnyBlockHas(const TArray<FGltfVertexBlock>& Blocks, const std::string& Attribute)
{
    for (const FGltfVertexBlock& Block : Blocks)
    {
        if (FindGltfAttribute(Block.Primitive->attributes, Attribute) != INDEX_NONE)
        {
            return true;
        }
    }
    return false;
}
} // namespace

FGltfVertexBlocks CollectGltfVertexBlocks(const tinygltf::Model& Model,
                                          const TArray<FGltfMeshInstance>& Instances, FSourceMesh& Mesh)
{
    FGltfVertexBlocks Result;
    FBlockCollector Collector(Model, Mesh, Result);
    for (int32 Instance = 0; Instance < Instances.Num(); ++Instance)
    {
        Collector.Collect(Instance, Instances[Instance].Mesh);
    }
    return Result;
}

FSourceMeshLayout MakeGltfLayout(const TArray<FGltfVertexBlock>& Blocks)
{
    FSourceMeshLayout Layout;
    Layout.bNormals = AllBlocksHave(Blocks, "NORMAL");
    Layout.bTangents = AllBlocksHave(Blocks, "TANGENT");
    Layout.bColors = AnyBlockHas(Blocks, "COLOR_0");
    Layout.bVertexIDs = AllBlocksHave(Blocks, "_VERTEX");
    while (Layout.NumUVChannels < ImportLimits::MaxUVChannels &&
           AnyBlockHas(Blocks, "TEXCOORD_" + std::to_string(Layout.NumUVChannels)))
    {
        ++Layout.NumUVChannels;
    }
    return Layout;
}
