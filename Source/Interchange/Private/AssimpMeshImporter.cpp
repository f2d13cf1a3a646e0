#include "Interchange/Private/AssimpMeshImporter.h"

#include "Interchange/Private/AssimpValues.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/MaterialSlotTable.h"
#include "Interchange/Private/RigidBinding.h"
#include "Interchange/Private/SourceGroupTable.h"
#include "Interchange/Private/VertexPlacement.h"

#include <cmath>

namespace
{
/** A mesh of the scene, the node that holds it and its first file vertex. */
struct FPlacedMesh
{
    int32 Node = 0;
    const aiMesh* Mesh = nullptr;
    int32 Start = 0;
};

FName MorphName(const aiAnimMesh& Target, int32 Index)
{
    return MakeMorphTargetName(FString(Target.mName.C_Str()), Index);
}

class FMeshReader
{
public:
    FMeshReader(const aiScene& InScene, const FAssimpNodeGraph& InGraph,
                const FAssimpSkeletonBinding& InBinding, FSourceMesh& OutSource,
                TArray<FImportedSlot>& OutSlots)
        : Scene(InScene), Graph(InGraph), Binding(InBinding), BoneOfNode(InBinding.BoneOfNode),
          Source(OutSource), Slots(OutSlots), Groups(OutSource.Groups)
    {
    }

    void Read()
    {
        const FSourceMeshLayout Layout = CollectMeshes();
        if (Placed.IsEmpty())
        {
            FailImport("the file holds no mesh");
        }
        Source.AllocateVertexArrays(Layout);
        for (const FPlacedMesh& Mesh : Placed)
        {
            ReadMesh(Mesh.Node, *Mesh.Mesh, Mesh.Start);
        }
    }

private:
    /** Lays the meshes out one after another and names their morph targets; returns what they all have. */
    FSourceMeshLayout CollectMeshes()
    {
        FSourceMeshLayout Layout{.bNormals = true, .bTangents = true};
        for (int32 Node = 0; Node < Graph.Num(); ++Node)
        {
            const aiNode& Data = Graph.GetNode(Node);
            for (unsigned Index = 0; Index < Data.mNumMeshes; ++Index)
            {
                const aiMesh* Mesh = Scene.mMeshes[Data.mMeshes[Index]];
                Layout.bNormals = Layout.bNormals && Mesh->HasNormals();
                Layout.bTangents = Layout.bTangents && Mesh->HasTangentsAndBitangents();
                Layout.bColors = Layout.bColors || Mesh->HasVertexColors(0);
                Layout.NumUVChannels = std::max<int32>(Layout.NumUVChannels, Mesh->GetNumUVChannels());
                Placed.Add(FPlacedMesh{Node, Mesh, Source.AddVertices(Mesh->mNumVertices)});
                for (unsigned Morph = 0; Morph < Mesh->mNumAnimMeshes; ++Morph)
                {
                    Source.FindOrAddMorph(MorphName(*Mesh->mAnimMeshes[Morph], static_cast<int32>(Morph)));
                }
            }
        }
        return Layout;
    }

    void ReadMesh(int32 Node, const aiMesh& Mesh, int32 Start)
    {
        const FVertexPlacement Placement(Mesh.mNumBones > 0 ? FMatrix::Identity : Graph.GetGlobal(Node),
                                         Graph.GetConversion());
        const auto Direction = [&](const FMatrix& M, const aiVector3D& V)
        {
            return FVector3f(Placement.GetConversion().Direction(
                M.TransformVector(FVector(V.x, V.y, V.z)).GetSafeNormal()));
        };
        for (unsigned V = 0; V < Mesh.mNumVertices; ++V)
        {
            const int32 Out = Start + static_cast<int32>(V);
            const aiVector3D& P = Mesh.mVertices[V];
            CheckFinite(P, "a vertex position");
            Source.Positions[Out] = Placement.Position(FVector(P.x, P.y, P.z));
            if (!Source.Normals.IsEmpty())
            {
                CheckFinite(Mesh.mNormals[V], "a vertex normal");
                Source.Normals[Out] = Direction(Placement.GetNormalPlacement(), Mesh.mNormals[V]);
            }
            if (!Source.Tangents.IsEmpty())
            {
                const aiVector3D& N = Mesh.mNormals[V];
                const aiVector3D& T = Mesh.mTangents[V];
                CheckFinite(T, "a vertex tangent");
                CheckFinite(Mesh.mBitangents[V], "a vertex bitangent");
                const float Sign = ((N ^ T) * Mesh.mBitangents[V]) < 0.0f ? -1.0f : 1.0f;
                const FVector3f Tangent = Direction(Placement.GetPlacement(), T);
                Source.Tangents[Out] = FVector4f(Tangent.X, Tangent.Y, Tangent.Z, Sign);
            }
            for (int32 Channel = 0; Channel < static_cast<int32>(Mesh.GetNumUVChannels()); ++Channel)
            {
                const aiVector3D& UV = Mesh.mTextureCoords[Channel][V];
                CheckFinite(UV, "a texture coordinate");
                Source.UVs[Out * Source.NumUVChannels + Channel] = FVector2f(UV.x, UV.y);
            }
        }
        ReadColors(Mesh, Start);
        ReadInfluences(Node, Mesh, Start);
        ReadMorphs(Mesh, Start, Placement);
        ReadFaces(Mesh, Start);
    }

    void ReadColors(const aiMesh& Mesh, int32 Start)
    {
        if (!Mesh.HasVertexColors(0))
        {
            return;
        }
        for (unsigned V = 0; V < Mesh.mNumVertices; ++V)
        {
            const aiColor4D& C = Mesh.mColors[0][V];
            CheckFinite(&C.r, 4, "a vertex colour");
            Source.Colors[Start + static_cast<int32>(V)] = FVector4f(C.r, C.g, C.b, C.a);
        }
    }

    /**
     * The file lists weights per bone; the source wants them per vertex. They are counted first and then
     * placed, so every influence goes into the one flat array without a list per vertex. A vertex of a
     * skinned mesh that no bone weighs keeps no influences; an unskinned mesh follows its node's bone.
     */
    void ReadInfluences(int32 Node, const aiMesh& Mesh, int32 Start)
    {
        const int32 NumVertices = static_cast<int32>(Mesh.mNumVertices);
        if (Mesh.mNumBones == 0)
        {
            AddRigidInfluences(Source, Start, NumVertices,
                               FindRigidBone(Graph.GetParents(), BoneOfNode, Node));
            return;
        }
        const int32 Base = Source.Influences.Num();
        TArray<int32> Cursor;
        Cursor.Init(0, NumVertices + 1);
        ForEachWeight(Mesh, [&](int32, const aiVertexWeight& Entry) { ++Cursor[Entry.mVertexId + 1]; });
        for (int32 V = 0; V < NumVertices; ++V)
        {
            Cursor[V + 1] += Cursor[V];
            Source.InfluenceStarts[Start + V] = Base + Cursor[V];
        }
        Source.InfluenceStarts[Start + NumVertices] = Base + Cursor[NumVertices];
        Source.Influences.SetNum(Base + Cursor[NumVertices]);
        ForEachWeight(
            Mesh,
            [&](int32 Bone, const aiVertexWeight& Entry) {
                Source.Influences[Base + Cursor[Entry.mVertexId]++] = FSourceInfluence{Bone, Entry.mWeight};
            });
    }

    /** Calls Visit(bone index, entry) for every weight of the mesh, refusing weights out of range. */
    template <typename VisitFunction>
    void ForEachWeight(const aiMesh& Mesh, VisitFunction&& Visit) const
    {
        for (unsigned Bone = 0; Bone < Mesh.mNumBones; ++Bone)
        {
            const aiBone& Data = *Mesh.mBones[Bone];
            const int32 BoneIndex = Binding.BoneOfMeshBone.at(Data.mName.C_Str());
            for (unsigned Weight = 0; Weight < Data.mNumWeights; ++Weight)
            {
                const aiVertexWeight& Entry = Data.mWeights[Weight];
                if (Entry.mVertexId >= Mesh.mNumVertices || !std::isfinite(Entry.mWeight) ||
                    Entry.mWeight < 0.0f)
                {
                    FailImport("a skin weight of bone '%s' is out of range", Data.mName.C_Str());
                }
                Visit(BoneIndex, Entry);
            }
        }
    }

    void ReadMorphs(const aiMesh& Mesh, int32 Start, const FVertexPlacement& Placement)
    {
        for (unsigned Morph = 0; Morph < Mesh.mNumAnimMeshes; ++Morph)
        {
            const aiAnimMesh& Target = *Mesh.mAnimMeshes[Morph];
            const int32 Base =
                Source.MorphNames.Find(MorphName(Target, static_cast<int32>(Morph))) * Source.NumVertices +
                Start;
            for (unsigned V = 0; V < Mesh.mNumVertices && Target.HasPositions() && V < Target.mNumVertices;
                 ++V)
            {
                CheckFinite(Target.mVertices[V], "a morph target position");
                const aiVector3D Delta = Target.mVertices[V] - Mesh.mVertices[V];
                Source.MorphPositions[Base + static_cast<int32>(V)] =
                    Placement.PositionDelta(FVector(Delta.x, Delta.y, Delta.z));
            }
        }
    }

    void ReadFaces(const aiMesh& Mesh, int32 Start)
    {
        const int32 Slot = MaterialSlot(Mesh.mMaterialIndex);
        FSourceGroup& Group = Groups.FindOrAdd(Slot, Slots[Slot].SlotName);
        for (unsigned Face = 0; Face < Mesh.mNumFaces; ++Face)
        {
            const aiFace& Data = Mesh.mFaces[Face];
            for (unsigned Corner = 1; Corner + 1 < Data.mNumIndices; ++Corner)
            {
                for (const unsigned Index :
                     {Data.mIndices[0], Data.mIndices[Corner], Data.mIndices[Corner + 1]})
                {
                    if (Index >= Mesh.mNumVertices)
                    {
                        FailImport("face index %u is out of range (the mesh has %u vertices)", Index,
                                   Mesh.mNumVertices);
                    }
                    Group.Corners.Add(Start + static_cast<int32>(Index));
                }
            }
        }
    }

    /** The slot (and group) of a material, made on first use. */
    int32 MaterialSlot(unsigned Material)
    {
        const int32 Slot = Slots.Find(Material);
        if (Slot != INDEX_NONE)
        {
            return Slot;
        }
        const FString FileName = Material < Scene.mNumMaterials
                                     ? FString(Scene.mMaterials[Material]->GetName().C_Str())
                                     : FString();
        return Slots.Add(Material, FileName, FImportedMaterial());
    }

    const aiScene& Scene;
    const FAssimpNodeGraph& Graph;
    const FAssimpSkeletonBinding& Binding;
    const TArray<int32>& BoneOfNode;
    FSourceMesh& Source;
    FMaterialSlotTable Slots;
    FSourceGroupTable Groups;
    TArray<FPlacedMesh> Placed;
};
} // namespace

void ReadAssimpMeshes(const aiScene& Scene, const FAssimpNodeGraph& Graph,
                      const FAssimpSkeletonBinding& Binding, FSourceMesh& OutMesh,
                      TArray<FImportedSlot>& OutSlots)
{
    FMeshReader(Scene, Graph, Binding, OutMesh, OutSlots).Read();
}
