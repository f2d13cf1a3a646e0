#include "Interchange/Private/GltfImporter.h"

#include "Engine/Animation/Skeleton.h"
#include "Interchange/Private/GltfAnimationImporter.h"
#include "Interchange/Private/GltfFileReader.h"
#include "Interchange/Private/GltfMeshImporter.h"
#include "Interchange/Private/GltfNodeGraph.h"
#include "Interchange/Private/GltfSkeletonImporter.h"
#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeExtras.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/MeshDescriptionBuilder.h"
#include "Interchange/Private/PhysicsExtras.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

using nlohmann::json;

namespace
{
class FGltfSceneImporter
{
public:
    FGltfSceneImporter(const tinygltf::Model& InModel, FImportedScene& InScene)
        : Model(InModel), Scene(InScene), Graph(InModel), bOwnFile(Graph.HasConversionNode())
    {
    }

    void Import()
    {
        CollectMeshInstances();
        TArray<int32> Skins;
        for (const FGltfMeshInstance& Instance : Instances)
        {
            if (Instance.Skin != INDEX_NONE && !Skins.Contains(Instance.Skin))
            {
                Skins.Add(Instance.Skin);
            }
        }
        ImportGltfSkeleton(Model, Graph, Skins, Scene.Skeleton, Binding);
        Scene.FileFrame = FAxisConversion::FromYUpMetres();
        Scene.GltfLayout.MeshNodeName = FString(Model.nodes[Instances[0].Node].name);
        Scene.GltfLayout.SkinName = Skins.IsEmpty() ? FString() : FString(Model.skins[Skins[0]].name);
        MeshExtras = bOwnFile ? InterchangeExtras::Find(Model.meshes[Instances[0].Mesh].extras) : json();
        ImportLODs(Skins.IsEmpty() ? INDEX_NONE : Skins[0]);
        ImportSockets();
        if (bOwnFile)
        {
            ImportAssetExtras(InterchangeExtras::Find(Model.nodes[Graph.GetConversionNode()].extras));
        }
        ReadGltfAnimations(
            Model, Graph,
            [this](int32 Node)
            {
                const int32 Bone = Binding.BoneOfNode[Node];
                return Bone == INDEX_NONE ? FName() : Scene.Skeleton.GetRawBoneName(Bone);
            },
            Scene.Animations, Scene.GltfLayout.Animations, Scene.Warnings);
    }

private:
    void CollectMeshInstances()
    {
        for (int32 Node = 0; Node < Graph.Num(); ++Node)
        {
            const tinygltf::Node& Data = Model.nodes[Node];
            if (Data.mesh < 0 || Graph.IsConversionNode(Node))
            {
                continue;
            }
            if (Data.mesh >= static_cast<int32>(Model.meshes.size()))
            {
                FailImport("node %d refers to mesh %d, which does not exist", Node, Data.mesh);
            }
            if (Data.skin >= static_cast<int32>(Model.skins.size()))
            {
                FailImport("node %d refers to skin %d, which does not exist", Node, Data.skin);
            }
            Instances.Add(FGltfMeshInstance{Data.mesh, Node, Data.skin < 0 ? INDEX_NONE : Data.skin});
        }
        if (Instances.IsEmpty())
        {
            FailImport("the file holds no mesh");
        }
    }

    void ImportLODs(int32 Skin)
    {
        FImportedLOD& LOD0 = Scene.LODs.Emplace_GetRef();
        ImportLOD(Instances, LOD0, MeshExtras);
        if (!bOwnFile || !MeshExtras.is_object())
        {
            return;
        }
        InterchangeExtras::Guard(
            "mesh",
            [&]
            {
                if (MeshExtras.contains("lodInfo"))
                {
                    LOD0.Info = InterchangeExtras::ReadLODInfo(MeshExtras.at("lodInfo"));
                }
                for (const json& Slot : InterchangeExtras::ReadList(MeshExtras, "slots"))
                {
                    Scene.Slots.Add(InterchangeExtras::ReadSlot(Slot));
                }
                const json& LODs = InterchangeExtras::ReadList(MeshExtras, "lods");
                if (LODs.size() >= static_cast<size_t>(ImportLimits::MaxLODs))
                {
                    FailImport("the mesh has %zu LODs, more than the %d that are read", LODs.size() + 1,
                               ImportLimits::MaxLODs);
                }
                for (const json& Entry : LODs)
                {
                    const int32 Mesh = InterchangeExtras::ReadInt(Entry.at("mesh"), 0, INT32_MAX);
                    if (Mesh >= static_cast<int32>(Model.meshes.size()))
                    {
                        FailImport("a further LOD refers to mesh %d, which does not exist", Mesh);
                    }
                    FImportedLOD& LOD = Scene.LODs.Emplace_GetRef();
                    LOD.Info = InterchangeExtras::ReadLODInfo(Entry.at("info"));
                    ImportLOD({FGltfMeshInstance{Mesh, INDEX_NONE, Skin}}, LOD,
                              InterchangeExtras::Find(Model.meshes[Mesh].extras));
                }
                return 0;
            });
    }

    void ImportLOD(const TArray<FGltfMeshInstance>& LODInstances, FImportedLOD& LOD, const json& Extras)
    {
        Scene.GltfLayout.MeshNames.Add(FString(Model.meshes[LODInstances[0].Mesh].name));
        FGltfMeshOutput Read;
        ReadGltfMeshes(FGltfMeshInput{Model, Graph, Binding, LODInstances, bOwnFile}, Read);
        Scene.Warnings.Append(Read.Warnings);
        BuildLODDescription(Read.Mesh, LOD, Scene.Warnings);
        if (Scene.Slots.IsEmpty() && !bOwnFile)
        {
            Scene.Slots = std::move(Read.Slots);
            LOD.Info.LODMaterialMap = MakeMaterialMap(LOD.Description, Read.SlotOfGroup);
        }
        if (bOwnFile && Extras.is_object() && Extras.contains("influences"))
        {
            RestoreInfluences(Extras.at("influences"), LOD.Description);
        }
        if (bOwnFile && Extras.is_object() && Extras.contains("unweighted"))
        {
            RestoreUnweighted(Extras.at("unweighted"), LOD.Description);
        }
    }

    /**
     * The LOD's material map when a group does not draw with the slot of its own index: section i, the
     * i-th group with triangles, draws with the slot of that group. Empty otherwise.
     */
    static TArray<int32> MakeMaterialMap(const FMeshDescription& Description,
                                         const TArray<int32>& SlotOfGroup)
    {
        TArray<uint8> HasTriangles;
        HasTriangles.Init(0, SlotOfGroup.Num());
        for (const FTriangleID Triangle : Description.Triangles().GetElementIDs())
        {
            HasTriangles[Description.GetTrianglePolygonGroup(Triangle).GetValue()] = 1;
        }
        TArray<int32> Map;
        bool bRedirects = false;
        for (int32 Group = 0; Group < SlotOfGroup.Num(); ++Group)
        {
            if (HasTriangles[Group])
            {
                bRedirects = bRedirects || SlotOfGroup[Group] != Group;
                Map.Add(SlotOfGroup[Group]);
            }
        }
        return bRedirects ? Map : TArray<int32>();
    }

    /** Takes the stand-in influence off the vertices that had none. */
    static void RestoreUnweighted(const json& Vertices, FMeshDescription& Description)
    {
        InterchangeExtras::Guard(
            "unweighted",
            [&]
            {
                FSkeletalMeshAttributes Attributes(Description);
                auto Weights = Attributes.GetVertexSkinWeights();
                for (const json& Entry : Vertices)
                {
                    const FVertexID Vertex(InterchangeExtras::ReadInt(Entry, 0, INT32_MAX));
                    if (!Description.Vertices().IsValid(Vertex))
                    {
                        FailImport("malformed unweighted extras: vertex %d does not exist",
                                   Vertex.GetValue());
                    }
                    Weights.Set(Vertex, {});
                }
                return 0;
            });
    }

    /** Puts back the full influence lists of the vertices whose influences the export had to drop. */
    void RestoreInfluences(const json& Influences, FMeshDescription& Description) const
    {
        InterchangeExtras::Guard(
            "influences",
            [&]
            {
                FSkeletalMeshAttributes Attributes(Description);
                auto Weights = Attributes.GetVertexSkinWeights();
                const json& Vertices = Influences.at("vertices");
                const json& Counts = Influences.at("counts");
                const json& Bones = Influences.at("bones");
                const json& Raw = Influences.at("weights");
                size_t Next = 0;
                TArray<FBoneWeight> List;
                for (size_t Entry = 0; Entry < Vertices.size(); ++Entry)
                {
                    const FVertexID Vertex(InterchangeExtras::ReadInt(Vertices.at(Entry), 0, INT32_MAX));
                    const int32 Count = InterchangeExtras::ReadInt(Counts.at(Entry), 1, INT32_MAX);
                    if (!Description.Vertices().IsValid(Vertex) || Count < 1 || Next + Count > Bones.size())
                    {
                        FailImport("malformed influences extras");
                    }
                    List.Reset();
                    int32 Sum = 0;
                    for (int32 Index = 0; Index < Count; ++Index, ++Next)
                    {
                        const int32 Bone = InterchangeExtras::ReadInt(Bones.at(Next), 0, INT32_MAX);
                        const int32 Weight = InterchangeExtras::ReadInt(Raw.at(Next), 0, INT32_MAX);
                        if (Bone < 0 || Bone >= Scene.Skeleton.GetRawBoneNum() || Weight < 0 ||
                            Weight > 65535)
                        {
                            FailImport("malformed influences extras: bone %d or weight %d out of range", Bone,
                                       Weight);
                        }
                        List.Add(FBoneWeight{static_cast<uint16>(Bone), static_cast<uint16>(Weight)});
                        Sum += Weight;
                    }
                    if (Sum != FBoneWeight::MaxRawWeight)
                    {
                        FailImport("malformed influences extras: the weights of vertex %d sum to %d",
                                   Vertex.GetValue(), Sum);
                    }
                    Weights.Set(Vertex, List);
                }
                return 0;
            });
    }

    bool IsSocketNode(int32 Node) const
    {
        const tinygltf::Node& Data = Model.nodes[Node];
        const int32 Parent = Graph.GetParent(Node);
        if (Parent == INDEX_NONE || Binding.BoneOfNode[Parent] == INDEX_NONE ||
            Binding.BoneOfNode[Node] != INDEX_NONE || Data.mesh >= 0)
        {
            return false;
        }
        return bOwnFile ? InterchangeExtras::Find(Data.extras).contains("socket") : Data.children.empty();
    }

    void ImportSockets()
    {
        for (int32 Node = 0; Node < Graph.Num(); ++Node)
        {
            if (Graph.IsConversionNode(Node) || !IsSocketNode(Node))
            {
                continue;
            }
            const FTransform Local = Graph.GetConversion().Transform(Graph.GetLocal(Node));
            FImportedSocket Socket;
            Socket.SocketName = Model.nodes[Node].name.empty() ? FName(FString::Printf("Socket_%d", Node))
                                                               : ImportedText::ToName(Model.nodes[Node].name);
            Socket.BoneName = Scene.Skeleton.GetRawBoneName(Binding.BoneOfNode[Graph.GetParent(Node)]);
            Socket.Location = Local.GetTranslation();
            Socket.Rotation = Local.GetRotation().Rotator();
            Socket.Scale = Local.GetScale3D();
            if (bOwnFile)
            {
                const json Extras = InterchangeExtras::Find(Model.nodes[Node].extras).at("socket");
                InterchangeExtras::Guard("socket",
                                         [&]
                                         {
                                             Socket.Rotation =
                                                 InterchangeExtras::ReadRotator(Extras.at("rotation"));
                                             Socket.bForceAlwaysAnimated =
                                                 Extras.value("forceAlwaysAnimated", true);
                                             return 0;
                                         });
            }
            Scene.MeshSockets.Add(Socket);
        }
    }

    void ImportAssetExtras(const json& Extras)
    {
        InterchangeExtras::Guard(
            "conversion node",
            [&]
            {
                const json Skeleton = Extras.value("skeleton", json::object());
                const json Modes = Skeleton.value("retargetingModes", json::object());
                Scene.RetargetingModes.Init(EBoneTranslationRetargetingMode::Animation,
                                            Scene.Skeleton.GetRawBoneNum());
                for (auto It = Modes.begin(); It != Modes.end(); ++It)
                {
                    const int32 Bone = Scene.Skeleton.FindRawBoneIndex(ImportedText::ToName(It.key()));
                    const int32 Mode = InterchangeExtras::ReadInt(It.value(), INT32_MIN, INT32_MAX);
                    if (Bone != INDEX_NONE && Mode >= 0 &&
                        Mode <= static_cast<int32>(EBoneTranslationRetargetingMode::OrientAndScale))
                    {
                        Scene.RetargetingModes[Bone] = static_cast<EBoneTranslationRetargetingMode>(Mode);
                    }
                }
                for (const json& Socket : InterchangeExtras::ReadList(Skeleton, "sockets"))
                {
                    Scene.SkeletonSockets.Add(InterchangeExtras::ReadSocket(Socket));
                }
                if (Extras.contains("physics"))
                {
                    Scene.bHasPhysics = true;
                    Scene.Physics = PhysicsExtras::Read(Extras.at("physics"));
                }
                return 0;
            });
    }

    const tinygltf::Model& Model;
    FImportedScene& Scene;
    FGltfNodeGraph Graph;
    bool bOwnFile;
    TArray<FGltfMeshInstance> Instances;
    FGltfSkeletonBinding Binding;
    json MeshExtras;
};
} // namespace

void ImportGltfScene(const FString& Path, FImportedScene& OutScene)
{
    tinygltf::Model Model;
    ReadGltfFile(Path, Model, OutScene.Warnings);
    FGltfSceneImporter(Model, OutScene).Import();
}

void ImportGltfAnimations(const FString& Path, const USkeleton& Skeleton, FImportedScene& OutScene)
{
    tinygltf::Model Model;
    ReadGltfFile(Path, Model, OutScene.Warnings);
    const FGltfNodeGraph Graph(Model);
    const FReferenceSkeleton& Bones = Skeleton.GetReferenceSkeleton();
    ReadGltfAnimations(
        Model, Graph, [&](int32 Node) { return MatchSkeletonBone(Bones, FString(Model.nodes[Node].name)); },
        OutScene.Animations, OutScene.GltfLayout.Animations, OutScene.Warnings);
    if (OutScene.Animations.IsEmpty())
    {
        FailImport("the file holds no animations");
    }
    for (const FImportedAnimation& Animation : OutScene.Animations)
    {
        if (!Animation.Tracks.IsEmpty())
        {
            return;
        }
    }
    FailImport("no animated node matches a bone of skeleton '%s'", *Skeleton.GetName());
}
