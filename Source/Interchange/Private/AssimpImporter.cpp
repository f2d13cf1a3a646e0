#include "Interchange/Private/AssimpImporter.h"

#include "Core/Animation/BoneWeight.h"
#include "Engine/Animation/Skeleton.h"
#include "Interchange/Private/AxisConversion.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/MeshDescriptionBuilder.h"
#include "Interchange/Private/UniqueNameSet.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cmath>
#include <unordered_map>

namespace
{
constexpr double DefaultFrameRate = 30.0;
constexpr int32 MaxKeys = 1000000;

FMatrix ToHostMatrix(const aiMatrix4x4& M)
{
    // Assimp's matrices are for column vectors; the host's are their transpose.
    const float* Values = &M.a1;
    FMatrix Result;
    for (int32 Row = 0; Row < 4; ++Row)
    {
        for (int32 Column = 0; Column < 4; ++Column)
        {
            Result.M[Row][Column] = Values[Column * 4 + Row];
        }
    }
    return Result;
}

/** Refuses the file when one of Num values (a vector, colour or matrix of the file) is not finite. */
void CheckFinite(const float* Values, int32 Num, const char* What)
{
    for (int32 Index = 0; Index < Num; ++Index)
    {
        if (!std::isfinite(Values[Index]))
        {
            FailImport("%s is not a finite number", What);
        }
    }
}

void CheckFinite(const aiVector3D& V, const char* What)
{
    CheckFinite(&V.x, 3, What);
}

void CheckFinite(const aiMatrix4x4& M, const char* What)
{
    CheckFinite(&M.a1, 16, What);
}

/** Refuses keys whose times are not finite or go back: sampling walks them once, in order. */
template <typename KeyType>
void CheckKeys(const KeyType* Keys, unsigned NumKeys, const char* What)
{
    for (unsigned Key = 0; Key < NumKeys; ++Key)
    {
        CheckFinite(reinterpret_cast<const float*>(&Keys[Key].mValue),
                    sizeof(Keys[Key].mValue) / sizeof(float), What);
        if (!std::isfinite(Keys[Key].mTime) || (Key > 0 && Keys[Key].mTime < Keys[Key - 1].mTime))
        {
            FailImport("the key times of %s are not finite and increasing", What);
        }
    }
}

void CheckKeys(const aiNodeAnim& Channel)
{
    CheckKeys(Channel.mPositionKeys, Channel.mNumPositionKeys, "an animation's position keys");
    CheckKeys(Channel.mRotationKeys, Channel.mNumRotationKeys, "an animation's rotation keys");
    CheckKeys(Channel.mScalingKeys, Channel.mNumScalingKeys, "an animation's scale keys");
}

/** A number of the scene's metadata, whichever numeric type the reader stored it as; Fallback if absent. */
double ReadMetadataNumber(const aiMetadata* Metadata, const char* Key, double Fallback)
{
    const aiMetadataEntry* Entry = nullptr;
    for (unsigned Index = 0; Metadata && Index < Metadata->mNumProperties; ++Index)
    {
        Entry = Metadata->mKeys[Index] == aiString(Key) ? &Metadata->mValues[Index] : Entry;
    }
    if (!Entry || !Entry->mData)
    {
        return Fallback;
    }
    switch (Entry->mType)
    {
        case AI_INT32:
            return *static_cast<const int32_t*>(Entry->mData);
        case AI_UINT64:
            return static_cast<double>(*static_cast<const uint64_t*>(Entry->mData));
        case AI_FLOAT:
            return *static_cast<const float*>(Entry->mData);
        case AI_DOUBLE:
            return *static_cast<const double*>(Entry->mData);
        default:
            return Fallback;
    }
}

/** The file's frame from its metadata: FBX gives its up axis and units; other formats are taken as Y up,
 * metres. */
FAxisConversion ReadConversion(const aiScene& Scene)
{
    const int32 UpAxis = static_cast<int32>(ReadMetadataNumber(Scene.mMetaData, "UpAxis", 1.0));
    const int32 UpSign = ReadMetadataNumber(Scene.mMetaData, "UpAxisSign", 1.0) < 0.0 ? -1 : 1;
    const double UnitScale = ReadMetadataNumber(Scene.mMetaData, "UnitScaleFactor", 0.0);
    const double CentimetresPerUnit = UnitScale > 0.0 && std::isfinite(UnitScale) ? UnitScale : 100.0;
    return FAxisConversion::FromUpAxis(std::clamp(UpAxis, 0, 2), UpSign, CentimetresPerUnit);
}

class FAssimpReader
{
public:
    FAssimpReader(const aiScene& InScene, FImportedScene& InOut)
        : Scene(InScene), Out(InOut), Conversion(ReadConversion(InScene))
    {
        CollectNodes(Scene.mRootNode, INDEX_NONE);
    }

    void ImportMesh()
    {
        BuildSkeleton();
        FSourceMesh Source;
        ReadMeshes(Source);
        BuildLODDescription(Source, Out.LODs.Emplace_GetRef(), Out.Warnings);
        ReadAnimations(
            [this](int32 Node) {
                return BoneOfNode[Node] == INDEX_NONE ? FName()
                                                      : Out.Skeleton.GetRawBoneName(BoneOfNode[Node]);
            });
    }

    void ImportAnimations(const FReferenceSkeleton& Bones)
    {
        ReadAnimations(
            [&](int32 Node)
            {
                const FName Name(Nodes[Node]->mName.C_Str());
                return Bones.FindRawBoneIndex(Name) != INDEX_NONE ? Name : FName();
            });
    }

private:
    void CollectNodes(const aiNode* Node, int32 Parent)
    {
        CheckFinite(Node->mTransformation, "a node transform");
        const int32 Index = Nodes.Add(Node);
        Parents.Add(Parent);
        const FMatrix Local = ToHostMatrix(Node->mTransformation);
        Globals.Add(Parent == INDEX_NONE ? Local : Local * Globals[Parent]);
        NodeByName.emplace(Node->mName.C_Str(), Index);
        for (unsigned Child = 0; Child < Node->mNumChildren; ++Child)
        {
            CollectNodes(Node->mChildren[Child], Index);
        }
    }

    int32 FindNode(const aiString& Name) const
    {
        const auto Found = NodeByName.find(Name.C_Str());
        return Found == NodeByName.end() ? INDEX_NONE : Found->second;
    }

    int32 ParentBoneNode(int32 Node) const
    {
        for (int32 Parent = Parents[Node]; Parent != INDEX_NONE; Parent = Parents[Parent])
        {
            if (!BindOfNode[Parent].empty())
            {
                return Parent;
            }
        }
        return INDEX_NONE;
    }

    void BuildSkeleton()
    {
        BindOfNode.resize(Nodes.Num());
        BoneOfNode.Init(INDEX_NONE, Nodes.Num());
        TArray<int32> Joints;
        for (unsigned MeshIndex = 0; MeshIndex < Scene.mNumMeshes; ++MeshIndex)
        {
            const aiMesh& Mesh = *Scene.mMeshes[MeshIndex];
            for (unsigned Bone = 0; Bone < Mesh.mNumBones; ++Bone)
            {
                const int32 Node = FindNode(Mesh.mBones[Bone]->mName);
                if (Node == INDEX_NONE)
                {
                    FailImport("the bone '%s' has no node", Mesh.mBones[Bone]->mName.C_Str());
                }
                CheckFinite(Mesh.mBones[Bone]->mOffsetMatrix, "the offset matrix of a bone");
                if (BindOfNode[Node].empty())
                {
                    BindOfNode[Node].push_back(ToHostMatrix(Mesh.mBones[Bone]->mOffsetMatrix).Inverse());
                    Joints.Add(Node);
                }
            }
        }
        if (Joints.Num() >= FBoneWeight::MaxRawWeight)
        {
            FailImport("the skeleton has %d bones, more than a mesh can be skinned to", Joints.Num());
        }
        Joints.Sort([this](int32 A, int32 B) { return A < B; });
        int32 NumRoots = 0;
        for (const int32 Joint : Joints)
        {
            NumRoots += ParentBoneNode(Joint) == INDEX_NONE ? 1 : 0;
        }
        FReferenceSkeletonModifier Modifier(Out.Skeleton, nullptr);
        FUniqueNameSet Names;
        if (NumRoots != 1)
        {
            Modifier.Add({FName(Names.Take("Root", "Root")), INDEX_NONE}, FTransform::Identity);
        }
        // Nodes are in depth-first order, so parents come first.
        for (const int32 Joint : Joints)
        {
            const int32 Parent = ParentBoneNode(Joint);
            const FMatrix ParentBind = Parent == INDEX_NONE ? FMatrix::Identity : BindOfNode[Parent][0];
            const FMatrix Local = BindOfNode[Joint][0] * ParentBind.Inverse();
            const int32 ParentBone =
                Parent != INDEX_NONE ? BoneOfNode[Parent] : (NumRoots != 1 ? 0 : INDEX_NONE);
            const FString Name = Names.Take(Nodes[Joint]->mName.C_Str(), FString::Printf("Bone_%d", Joint));
            BoneOfNode[Joint] = Modifier.GetReferenceSkeleton().GetRawBoneNum();
            Modifier.Add({FName(Name), ParentBone}, FTransform(Conversion.Matrix(Local)));
        }
    }

    int32 RigidBone(int32 Node) const
    {
        for (; Node != INDEX_NONE; Node = Parents[Node])
        {
            if (BoneOfNode[Node] != INDEX_NONE)
            {
                return BoneOfNode[Node];
            }
        }
        return 0;
    }

    void ReadMeshes(FSourceMesh& Source)
    {
        TArray<std::pair<int32, const aiMesh*>> Placed;
        bool bNormals = true;
        bool bTangents = true;
        for (int32 Node = 0; Node < Nodes.Num(); ++Node)
        {
            for (unsigned Index = 0; Index < Nodes[Node]->mNumMeshes; ++Index)
            {
                const aiMesh* Mesh = Scene.mMeshes[Nodes[Node]->mMeshes[Index]];
                Placed.Add({Node, Mesh});
                bNormals = bNormals && Mesh->HasNormals();
                bTangents = bTangents && Mesh->HasTangentsAndBitangents();
                Source.NumUVChannels = std::max<int32>(Source.NumUVChannels, Mesh->GetNumUVChannels());
                if (Mesh->mNumVertices > static_cast<unsigned>(INT32_MAX / 4 - Source.NumVertices))
                {
                    FailImport("the meshes have too many vertices");
                }
                Source.NumVertices += static_cast<int32>(Mesh->mNumVertices);
                for (unsigned Morph = 0; Morph < Mesh->mNumAnimMeshes; ++Morph)
                {
                    const FName Name(Mesh->mAnimMeshes[Morph]->mName.length > 0
                                         ? FString(Mesh->mAnimMeshes[Morph]->mName.C_Str())
                                         : FString::Printf("MorphTarget_%u", Morph));
                    if (!Source.MorphNames.Contains(Name))
                    {
                        Source.MorphNames.Add(Name);
                        Source.MorphHasNormals.Add(0);
                    }
                }
            }
        }
        if (Placed.IsEmpty())
        {
            FailImport("the file holds no mesh");
        }
        const int32 N = Source.NumVertices;
        Source.Positions.SetNum(N);
        Source.Normals.SetNum(bNormals ? N : 0);
        Source.Tangents.SetNum(bNormals && bTangents ? N : 0);
        Source.UVs.Init(FVector2f(0.0f, 0.0f), SizePerVertexArray(N, Source.NumUVChannels, "UV channels"));
        Source.InfluenceStarts.Init(0, N + 1);
        const int32 NumMorphEntries = SizePerVertexArray(N, Source.MorphNames.Num(), "morph targets");
        Source.MorphPositions.Init(FVector3f(0.0f, 0.0f, 0.0f), NumMorphEntries);
        Source.MorphNormals.Init(FVector3f(0.0f, 0.0f, 0.0f), NumMorphEntries);
        int32 Start = 0;
        for (const auto& [Node, Mesh] : Placed)
        {
            ReadMesh(Node, *Mesh, Start, Source);
            Start += static_cast<int32>(Mesh->mNumVertices);
        }
    }

    void ReadMesh(int32 Node, const aiMesh& Mesh, int32 Start, FSourceMesh& Source)
    {
        const bool bSkinned = Mesh.mNumBones > 0;
        const FMatrix Placement = bSkinned ? FMatrix::Identity : Globals[Node];
        const FMatrix NormalPlacement = Placement.Inverse().GetTransposed();
        const auto Point = [&](const aiVector3D& V)
        {
            return FVector3f(Conversion.Position(Placement.TransformPosition(FVector(V.x, V.y, V.z))));
        };
        const auto Direction = [&](const FMatrix& M, const aiVector3D& V)
        {
            return FVector3f(Conversion.Direction(M.TransformVector(FVector(V.x, V.y, V.z)).GetSafeNormal()));
        };
        for (unsigned V = 0; V < Mesh.mNumVertices; ++V)
        {
            const int32 Out = Start + static_cast<int32>(V);
            CheckFinite(Mesh.mVertices[V], "a vertex position");
            Source.Positions[Out] = Point(Mesh.mVertices[V]);
            if (!Source.Normals.IsEmpty())
            {
                CheckFinite(Mesh.mNormals[V], "a vertex normal");
                Source.Normals[Out] = Direction(NormalPlacement, Mesh.mNormals[V]);
            }
            if (!Source.Tangents.IsEmpty())
            {
                const aiVector3D& N = Mesh.mNormals[V];
                const aiVector3D& T = Mesh.mTangents[V];
                CheckFinite(T, "a vertex tangent");
                CheckFinite(Mesh.mBitangents[V], "a vertex bitangent");
                const float Sign = ((N ^ T) * Mesh.mBitangents[V]) < 0.0f ? -1.0f : 1.0f;
                const FVector3f Tangent = Direction(Placement, T);
                Source.Tangents[Out] = FVector4f(Tangent.X, Tangent.Y, Tangent.Z, Sign);
            }
            for (int32 Channel = 0; Channel < static_cast<int32>(Mesh.GetNumUVChannels()); ++Channel)
            {
                const aiVector3D& UV = Mesh.mTextureCoords[Channel][V];
                CheckFinite(UV, "a texture coordinate");
                Source.UVs[Out * Source.NumUVChannels + Channel] = FVector2f(UV.x, UV.y);
            }
        }
        ReadColors(Mesh, Start, Source);
        ReadInfluences(Node, Mesh, Start, Source);
        ReadMorphs(Mesh, Start, Placement, Source);
        ReadFaces(Mesh, Start, Source);
    }

    static void ReadColors(const aiMesh& Mesh, int32 Start, FSourceMesh& Source)
    {
        if (!Mesh.HasVertexColors(0))
        {
            return;
        }
        if (Source.Colors.IsEmpty())
        {
            Source.Colors.Init(FVector4f(1.0f, 1.0f, 1.0f, 1.0f), Source.NumVertices);
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
    void ReadInfluences(int32 Node, const aiMesh& Mesh, int32 Start, FSourceMesh& Source) const
    {
        const int32 NumVertices = static_cast<int32>(Mesh.mNumVertices);
        const int32 Base = Source.Influences.Num();
        if (Mesh.mNumBones == 0)
        {
            const int32 Rigid = RigidBone(Node);
            for (int32 V = 0; V < NumVertices; ++V)
            {
                Source.InfluenceStarts[Start + V] = Base + V;
                Source.Influences.Add(FSourceInfluence{Rigid, 1.0f});
            }
            Source.InfluenceStarts[Start + NumVertices] = Source.Influences.Num();
            return;
        }
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
            const int32 BoneIndex = BoneOfNode[FindNode(Data.mName)];
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

    void ReadMorphs(const aiMesh& Mesh, int32 Start, const FMatrix& Placement, FSourceMesh& Source) const
    {
        for (unsigned Morph = 0; Morph < Mesh.mNumAnimMeshes; ++Morph)
        {
            const aiAnimMesh& Target = *Mesh.mAnimMeshes[Morph];
            const FName Name(Target.mName.length > 0 ? FString(Target.mName.C_Str())
                                                     : FString::Printf("MorphTarget_%u", Morph));
            const int32 Base = Source.MorphNames.Find(Name) * Source.NumVertices + Start;
            for (unsigned V = 0; V < Mesh.mNumVertices && Target.HasPositions() && V < Target.mNumVertices;
                 ++V)
            {
                CheckFinite(Target.mVertices[V], "a morph target position");
                const aiVector3D Delta = Target.mVertices[V] - Mesh.mVertices[V];
                Source.MorphPositions[Base + static_cast<int32>(V)] = FVector3f(
                    Conversion.Position(Placement.TransformVector(FVector(Delta.x, Delta.y, Delta.z))));
            }
        }
    }

    void ReadFaces(const aiMesh& Mesh, int32 Start, FSourceMesh& Source)
    {
        const int32 GroupID = MaterialGroup(Mesh.mMaterialIndex);
        FSourceGroup* Group =
            Source.Groups.FindByPredicate([GroupID](const FSourceGroup& G) { return G.GroupID == GroupID; });
        if (!Group)
        {
            Group = &Source.Groups.Emplace_GetRef(FSourceGroup{GroupID, Out.Slots[GroupID].SlotName, {}});
        }
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
                    Group->Corners.Add(Start + static_cast<int32>(Index));
                }
            }
        }
    }

    int32 MaterialGroup(unsigned Material)
    {
        const auto Found = GroupOfMaterial.find(Material);
        if (Found != GroupOfMaterial.end())
        {
            return Found->second;
        }
        FImportedSlot Slot;
        const FString Fallback = FString::Printf("Material_%u", Material);
        const FString Name = SlotNames.Take(Material < Scene.mNumMaterials
                                                ? FString(Scene.mMaterials[Material]->GetName().C_Str())
                                                : Fallback,
                                            Fallback);
        Slot.SlotName = FName(Name);
        Slot.ImportedSlotName = Slot.SlotName;
        Slot.bHasMaterial = true;
        Slot.Material.Name = FString("M_") + Name;
        const int32 Group = Out.Slots.Add(Slot);
        GroupOfMaterial.emplace(Material, Group);
        return Group;
    }

    /**
     * Takes the keys on either side of Tick and the blend between them. Ticks come in increasing order and
     * Cursor (0 before the first tick) remembers the first key not before the last one, so sampling a
     * channel walks its keys once.
     */
    template <typename KeyType, typename ValueFunction>
    static void SampleKeys(const KeyType* Keys, unsigned NumKeys, double Tick, unsigned& Cursor,
                           ValueFunction&& Take)
    {
        while (Cursor < NumKeys && Keys[Cursor].mTime < Tick)
        {
            ++Cursor;
        }
        const unsigned Next = Cursor;
        if (Next == 0 || Next == NumKeys)
        {
            return Take(Keys[Next == 0 ? 0 : NumKeys - 1].mValue, Keys[Next == 0 ? 0 : NumKeys - 1].mValue,
                        0.0);
        }
        const double Span = Keys[Next].mTime - Keys[Next - 1].mTime;
        Take(Keys[Next - 1].mValue, Keys[Next].mValue,
             Span > 0.0 ? (Tick - Keys[Next - 1].mTime) / Span : 0.0);
    }

    /** The global transform of the first node with a skinned mesh: the space the bind pose is given in. */
    FMatrix MeshSpace() const
    {
        for (int32 Node = 0; Node < Nodes.Num(); ++Node)
        {
            for (unsigned Index = 0; Index < Nodes[Node]->mNumMeshes; ++Index)
            {
                if (Scene.mMeshes[Nodes[Node]->mMeshes[Index]]->mNumBones > 0)
                {
                    return Globals[Node];
                }
            }
        }
        return FMatrix::Identity;
    }

    /**
     * Channels are local to the parent node, bones to the parent bone (root bones to the mesh's space).
     * When nodes lie between the two, OutPrefix takes a channel's transform into the bone's space.
     */
    template <typename BoneFunction>
    bool FindSkeletonSpace(int32 Node, BoneFunction& BoneOf, FMatrix& OutPrefix) const
    {
        int32 ParentBone = Parents[Node];
        while (ParentBone != INDEX_NONE && BoneOf(ParentBone).IsNone())
        {
            ParentBone = Parents[ParentBone];
        }
        if (ParentBone != INDEX_NONE && ParentBone == Parents[Node])
        {
            return false;
        }
        const FMatrix ParentGlobal = Parents[Node] == INDEX_NONE ? FMatrix::Identity : Globals[Parents[Node]];
        const FMatrix Reference = ParentBone == INDEX_NONE ? MeshSpace() : Globals[ParentBone];
        OutPrefix = ParentGlobal * Reference.Inverse();
        return true;
    }

    template <typename BoneFunction>
    void ReadAnimations(BoneFunction&& BoneOf)
    {
        for (unsigned Index = 0; Index < Scene.mNumAnimations; ++Index)
        {
            const aiAnimation& Animation = *Scene.mAnimations[Index];
            const double TicksPerSecond = Animation.mTicksPerSecond > 0.0 ? Animation.mTicksPerSecond : 25.0;
            FImportedAnimation& Result = Out.Animations.Emplace_GetRef();
            Result.Name = Animation.mName.length > 0 ? FString(Animation.mName.C_Str())
                                                     : FString::Printf("Animation_%u", Index);
            Result.FrameRate = DefaultFrameRate;
            const double Seconds =
                std::isfinite(Animation.mDuration) ? Animation.mDuration / TicksPerSecond : 0.0;
            Result.NumberOfKeys =
                static_cast<int32>(std::clamp(std::round(Seconds * DefaultFrameRate), 0.0, double(MaxKeys))) +
                1;
            for (unsigned Channel = 0; Channel < Animation.mNumChannels; ++Channel)
            {
                const aiNodeAnim& Data = *Animation.mChannels[Channel];
                const int32 Node = FindNode(Data.mNodeName);
                if (Node == INDEX_NONE || BoneOf(Node).IsNone())
                {
                    continue;
                }
                CheckKeys(Data);
                FAnimationBoneTrack& Track = Result.Tracks.Emplace_GetRef();
                Track.Name = BoneOf(Node);
                const FTransform Rest(ToHostMatrix(Nodes[Node]->mTransformation));
                FMatrix Prefix;
                const bool bPrefix = FindSkeletonSpace(Node, BoneOf, Prefix);
                unsigned PositionCursor = 0;
                unsigned RotationCursor = 0;
                unsigned ScaleCursor = 0;
                for (int32 Key = 0; Key < Result.NumberOfKeys; ++Key)
                {
                    const double Tick = Key / DefaultFrameRate * TicksPerSecond;
                    FTransform Local = Rest;
                    if (Data.mNumPositionKeys > 0)
                    {
                        SampleKeys(Data.mPositionKeys, Data.mNumPositionKeys, Tick, PositionCursor,
                                   [&](const aiVector3D& A, const aiVector3D& B, double Alpha)
                                   {
                                       const aiVector3D P = A + (B - A) * static_cast<float>(Alpha);
                                       Local.SetTranslation(FVector(P.x, P.y, P.z));
                                   });
                    }
                    if (Data.mNumRotationKeys > 0)
                    {
                        SampleKeys(Data.mRotationKeys, Data.mNumRotationKeys, Tick, RotationCursor,
                                   [&](const aiQuaternion& A, const aiQuaternion& B, double Alpha)
                                   {
                                       aiQuaternion Q;
                                       aiQuaternion::Interpolate(Q, A, B, static_cast<float>(Alpha));
                                       Local.SetRotation(FQuat(Q.x, Q.y, Q.z, Q.w).GetNormalized());
                                   });
                    }
                    if (Data.mNumScalingKeys > 0)
                    {
                        SampleKeys(Data.mScalingKeys, Data.mNumScalingKeys, Tick, ScaleCursor,
                                   [&](const aiVector3D& A, const aiVector3D& B, double Alpha)
                                   {
                                       const aiVector3D S = A + (B - A) * static_cast<float>(Alpha);
                                       Local.SetScale3D(FVector(S.x, S.y, S.z));
                                   });
                    }
                    if (bPrefix)
                    {
                        Local = FTransform(Local.ToMatrixWithScale() * Prefix);
                    }
                    const FTransform Host = Conversion.Transform(Local);
                    Track.PositionKeys.Add(FVector3f(Host.GetTranslation()));
                    Track.RotationKeys.Add(FQuat4f(Host.GetRotation()));
                    Track.ScaleKeys.Add(FVector3f(Host.GetScale3D()));
                }
            }
        }
    }

    const aiScene& Scene;
    FImportedScene& Out;
    FAxisConversion Conversion;
    TArray<const aiNode*> Nodes;
    TArray<int32> Parents;
    TArray<FMatrix> Globals;
    std::unordered_map<std::string, int32> NodeByName;
    std::vector<std::vector<FMatrix>> BindOfNode;
    TArray<int32> BoneOfNode;
    std::unordered_map<unsigned, int32> GroupOfMaterial;
    FUniqueNameSet SlotNames;
};

const aiScene& ReadScene(Assimp::Importer& Importer, const FString& Path)
{
    Importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    const aiScene* Scene = Importer.ReadFile(
        Path.ToStdString(), aiProcess_Triangulate | aiProcess_SortByPType | aiProcess_JoinIdenticalVertices);
    if (!Scene || !Scene->mRootNode)
    {
        FailImport("the file cannot be read: %s", Importer.GetErrorString());
    }
    return *Scene;
}
} // namespace

bool IsAssimpFormat(const FString& Extension)
{
    if (Extension.IsEmpty() || Extension == "gltf" || Extension == "glb")
    {
        return false;
    }
    return Assimp::Importer().IsExtensionSupported((FString(".") + Extension).ToStdString());
}

void ImportAssimpScene(const FString& Path, FImportedScene& OutScene)
{
    Assimp::Importer Importer;
    FAssimpReader(ReadScene(Importer, Path), OutScene).ImportMesh();
}

void ImportAssimpAnimations(const FString& Path, const USkeleton& Skeleton, FImportedScene& OutScene)
{
    Assimp::Importer Importer;
    FAssimpReader(ReadScene(Importer, Path), OutScene).ImportAnimations(Skeleton.GetReferenceSkeleton());
    if (OutScene.Animations.IsEmpty())
    {
        FailImport("the file holds no animations");
    }
}
