#include "Interchange/Private/MeshDescriptionBuilder.h"

#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/SkinWeightQuantizer.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

#include <cmath>
#include <cstring>
#include <unordered_map>

namespace
{
uint64 MixHash(uint64 Hash, const void* Data, size_t Size)
{
    const auto* Bytes = static_cast<const uint8*>(Data);
    for (size_t Index = 0; Index < Size; ++Index)
    {
        Hash = (Hash ^ Bytes[Index]) * 1099511628211ull;
    }
    return Hash;
}

/** Mixes floats into the hash by value: -0 and +0 compare equal, so they must hash alike. */
uint64 MixFloats(uint64 Hash, const float* Values, int32 Count)
{
    for (int32 Index = 0; Index < Count; ++Index)
    {
        const float Value = Values[Index] + 0.0f;
        Hash = MixHash(Hash, &Value, sizeof(Value));
    }
    return Hash;
}

/** Assigns each file vertex a mesh vertex by welding equal file vertices. */
class FVertexWelder
{
public:
    explicit FVertexWelder(const FSourceMesh& InSource) : Source(InSource) {}

    /** Fills OutVertexOf (file vertex -> vertex number, dense) and answers the vertex count. */
    int32 Weld(TArray<int32>& OutVertexOf)
    {
        OutVertexOf.Init(INDEX_NONE, Source.NumVertices);
        std::unordered_map<uint64, int32> FirstWithHash;
        FirstWithHash.reserve(static_cast<size_t>(Source.NumVertices));
        TArray<int32> NextWithSameHash;
        NextWithSameHash.Init(INDEX_NONE, Source.NumVertices);
        int32 NumWelded = 0;
        for (int32 Vertex = 0; Vertex < Source.NumVertices; ++Vertex)
        {
            const auto [Found, bInserted] = FirstWithHash.try_emplace(Hash(Vertex), Vertex);
            if (bInserted)
            {
                OutVertexOf[Vertex] = NumWelded++;
                continue;
            }
            int32 Candidate = Found->second;
            for (; Candidate != INDEX_NONE; Candidate = NextWithSameHash[Candidate])
            {
                if (Equal(Candidate, Vertex))
                {
                    break;
                }
            }
            if (Candidate != INDEX_NONE)
            {
                OutVertexOf[Vertex] = OutVertexOf[Candidate];
                continue;
            }
            NextWithSameHash[Vertex] = Found->second;
            Found->second = Vertex;
            OutVertexOf[Vertex] = NumWelded++;
        }
        return NumWelded;
    }

private:
    uint64 Hash(int32 Vertex) const
    {
        uint64 Value = MixFloats(1469598103934665603ull, &Source.Positions[Vertex].X, 3);
        for (int32 Index = Source.InfluenceStarts[Vertex]; Index < Source.InfluenceStarts[Vertex + 1];
             ++Index)
        {
            Value = MixHash(Value, &Source.Influences[Index].Bone, sizeof(int32));
            Value = MixFloats(Value, &Source.Influences[Index].Weight, 1);
        }
        for (int32 Morph = 0; Morph < Source.MorphNames.Num(); ++Morph)
        {
            Value = MixFloats(Value, &Source.MorphPositions[Morph * Source.NumVertices + Vertex].X, 3);
        }
        return Value;
    }

    bool Equal(int32 A, int32 B) const
    {
        const int32 NumA = Source.InfluenceStarts[A + 1] - Source.InfluenceStarts[A];
        const int32 NumB = Source.InfluenceStarts[B + 1] - Source.InfluenceStarts[B];
        if (Source.Positions[A] != Source.Positions[B] || NumA != NumB)
        {
            return false;
        }
        for (int32 Index = 0; Index < NumA; ++Index)
        {
            const FSourceInfluence& InA = Source.Influences[Source.InfluenceStarts[A] + Index];
            const FSourceInfluence& InB = Source.Influences[Source.InfluenceStarts[B] + Index];
            if (InA.Bone != InB.Bone || InA.Weight != InB.Weight)
            {
                return false;
            }
        }
        for (int32 Morph = 0; Morph < Source.MorphNames.Num(); ++Morph)
        {
            const int32 Base = Morph * Source.NumVertices;
            if (Source.MorphPositions[Base + A] != Source.MorphPositions[Base + B])
            {
                return false;
            }
        }
        return true;
    }

    const FSourceMesh& Source;
};

/** Builds the description of one LOD from the source. */
class FDescriptionBuilder
{
public:
    FDescriptionBuilder(const FSourceMesh& InSource, FImportedLOD& InLOD, TArray<FString>& InWarnings)
        : Source(InSource), LOD(InLOD), Warnings(InWarnings), Attributes(InLOD.Description)
    {
    }

    void Build()
    {
        CheckCorners();
        AssignVertices();
        Attributes.Register();
        for (int32 Morph = 0; Morph < Source.MorphNames.Num(); ++Morph)
        {
            Attributes.RegisterMorphTargetAttribute(Source.MorphNames[Morph],
                                                    Source.MorphHasNormals[Morph] != 0);
        }
        Attributes.GetVertexInstanceUVs().SetNumChannels(std::max(1, Source.NumUVChannels));
        // The elements are made in bulk; their adjacency is built when first asked for.
        LOD.Description.ResetIndexers();
        CreateVertices();
        CreateInstances();
        CreateTriangles();
        LOD.bRecomputeNormals = Source.Normals.IsEmpty();
    }

private:
    void CheckCorners() const
    {
        for (const FSourceGroup& Group : Source.Groups)
        {
            for (const int32 Corner : Group.Corners)
            {
                if (Corner < 0 || Corner >= Source.NumVertices)
                {
                    FailImport("vertex index %d is out of range (the mesh has %d vertices)", Corner,
                               Source.NumVertices);
                }
            }
        }
    }

    void AssignVertices()
    {
        if (Source.VertexIDs.IsEmpty())
        {
            NumVertices = FVertexWelder(Source).Weld(VertexOf);
            return;
        }
        VertexOf = Source.VertexIDs;
        for (const int32 Vertex : VertexOf)
        {
            if (Vertex < 0 || Vertex >= Source.NumVertices)
            {
                FailImport("vertex ID %d is out of range (the mesh has %d vertices)", Vertex,
                           Source.NumVertices);
            }
            NumVertices = std::max(NumVertices, Vertex + 1);
        }
    }

    /** Vertices in ascending order; a vertex ID that no file vertex names is left free. */
    void CreateVertices()
    {
        TArray<int32> Representative;
        Representative.Init(INDEX_NONE, NumVertices);
        for (int32 FileVertex = 0; FileVertex < Source.NumVertices; ++FileVertex)
        {
            if (IsUsed(FileVertex) && Representative[VertexOf[FileVertex]] == INDEX_NONE)
            {
                Representative[VertexOf[FileVertex]] = FileVertex;
            }
        }
        auto Positions = Attributes.GetVertexPositions();
        auto Weights = Attributes.GetVertexSkinWeights();
        TArray<TMeshAttributesRef<FVertexID, FVector3f>> MorphPositions;
        for (const FName Morph : Source.MorphNames)
        {
            MorphPositions.Add(Attributes.GetVertexMorphPositionDelta(Morph));
        }
        TArray<FBoneWeight> Quantized;
        for (int32 Vertex = 0; Vertex < NumVertices; ++Vertex)
        {
            const int32 FileVertex = Representative[Vertex];
            if (FileVertex == INDEX_NONE)
            {
                continue;
            }
            const FVertexID ID(Vertex);
            LOD.Description.CreateVertexWithID(ID);
            Positions[ID] = Source.Positions[FileVertex];
            const int32 Start = Source.InfluenceStarts[FileVertex];
            QuantizeInfluences({Source.Influences.GetData() + Start,
                                static_cast<size_t>(Source.InfluenceStarts[FileVertex + 1] - Start)},
                               Quantized);
            Weights.Set(ID, Quantized);
            for (int32 Morph = 0; Morph < Source.MorphNames.Num(); ++Morph)
            {
                MorphPositions[Morph][ID] = Source.MorphPositions[Morph * Source.NumVertices + FileVertex];
            }
        }
    }

    bool IsUsed(int32 FileVertex) const { return UsedFileVertex[FileVertex] != 0; }

    void CreateInstances()
    {
        InstanceOf.Init(FVertexInstanceID::Invalid(), Source.NumVertices);
        const TVertexInstanceAttributes<false> Corner = Attributes.GetVertexInstanceAttributes();
        TArray<TMeshAttributesRef<FVertexInstanceID, FVector3f>> MorphNormals;
        for (int32 Morph = 0; Morph < Source.MorphNames.Num(); ++Morph)
        {
            MorphNormals.Add(Attributes.GetVertexInstanceMorphNormalDelta(Source.MorphNames[Morph]));
        }
        for (int32 FileVertex = 0; FileVertex < Source.NumVertices; ++FileVertex)
        {
            if (!IsUsed(FileVertex))
            {
                continue;
            }
            const FVertexInstanceID Instance =
                LOD.Description.CreateVertexInstance(FVertexID(VertexOf[FileVertex]));
            InstanceOf[FileVertex] = Instance;
            if (!Source.Normals.IsEmpty())
            {
                Corner.Normals[Instance] = Source.Normals[FileVertex];
            }
            if (!Source.Tangents.IsEmpty())
            {
                const FVector4f& Tangent = Source.Tangents[FileVertex];
                Corner.Tangents[Instance] = FVector3f(Tangent.X, Tangent.Y, Tangent.Z);
                Corner.BinormalSigns[Instance] = Tangent.W < 0.0f ? -1.0f : 1.0f;
            }
            for (int32 Channel = 0; Channel < Source.NumUVChannels; ++Channel)
            {
                Corner.UVs.Set(Instance, Channel, Source.UVs[FileVertex * Source.NumUVChannels + Channel]);
            }
            Corner.Colors[Instance] =
                Source.Colors.IsEmpty() ? FVector4f(1.0f, 1.0f, 1.0f, 1.0f) : Source.Colors[FileVertex];
            for (int32 Morph = 0; Morph < MorphNormals.Num(); ++Morph)
            {
                if (Source.MorphHasNormals[Morph])
                {
                    MorphNormals[Morph][Instance] =
                        Source.MorphNormals[Morph * Source.NumVertices + FileVertex];
                }
            }
        }
    }

    void CreateTriangles()
    {
        auto SlotNames = Attributes.GetPolygonGroupMaterialSlotNames();
        TArray<FTriangleCorners> Triangles;
        int32 NumDegenerate = 0;
        for (const FSourceGroup& Group : Source.Groups)
        {
            const FPolygonGroupID GroupID(Group.GroupID);
            LOD.Description.CreatePolygonGroupWithID(GroupID);
            SlotNames[GroupID] = Group.SlotName;
            for (int32 First = 0; First + 2 < Group.Corners.Num(); First += 3)
            {
                const int32* Corners = &Group.Corners[First];
                const int32 A = VertexOf[Corners[0]];
                const int32 B = VertexOf[Corners[1]];
                const int32 C = VertexOf[Corners[2]];
                if (A == B || B == C || A == C)
                {
                    ++NumDegenerate;
                    continue;
                }
                Triangles.Add(
                    {GroupID, {InstanceOf[Corners[0]], InstanceOf[Corners[1]], InstanceOf[Corners[2]]}});
            }
        }
        LOD.Description.CreateTriangles(Triangles);
        if (NumDegenerate > 0)
        {
            Warnings.Add(FString::Printf("dropped %d degenerate triangle(s)", NumDegenerate));
        }
        if (Triangles.IsEmpty())
        {
            FailImport("the mesh has no triangles");
        }
    }

public:
    /** Marks the file vertices that triangles use; must run before Build. */
    void MarkUsed()
    {
        UsedFileVertex.Init(0, Source.NumVertices);
        for (const FSourceGroup& Group : Source.Groups)
        {
            for (const int32 Corner : Group.Corners)
            {
                if (Corner >= 0 && Corner < Source.NumVertices)
                {
                    UsedFileVertex[Corner] = 1;
                }
            }
        }
    }

private:
    const FSourceMesh& Source;
    FImportedLOD& LOD;
    TArray<FString>& Warnings;
    FSkeletalMeshAttributes Attributes;
    TArray<int32> VertexOf;
    int32 NumVertices = 0;
    TArray<uint8> UsedFileVertex;
    TArray<FVertexInstanceID> InstanceOf;
};
/**
 * File values were finite, but taking them into host space (placement, centimetres) can overflow what
 * a float holds; such a value could be neither edited nor written again.
 */
template <typename VectorType>
void CheckFinite(const TArray<VectorType>& Values, const char* What)
{
    constexpr int32 NumComponents = sizeof(VectorType) / sizeof(float);
    for (const VectorType& Value : Values)
    {
        const float* Components = reinterpret_cast<const float*>(&Value);
        for (int32 Component = 0; Component < NumComponents; ++Component)
        {
            if (!std::isfinite(Components[Component]))
            {
                FailImport("%s is out of range once converted to centimetres and the host's axes", What);
            }
        }
    }
}
} // namespace

void BuildLODDescription(const FSourceMesh& Source, FImportedLOD& OutLOD, TArray<FString>& OutWarnings)
{
    CheckFinite(Source.Positions, "a vertex position");
    CheckFinite(Source.Normals, "a vertex normal");
    CheckFinite(Source.Tangents, "a vertex tangent");
    CheckFinite(Source.UVs, "a texture coordinate");
    CheckFinite(Source.Colors, "a vertex colour");
    CheckFinite(Source.MorphPositions, "a morph target's position offset");
    CheckFinite(Source.MorphNormals, "a morph target's normal offset");
    FDescriptionBuilder Builder(Source, OutLOD, OutWarnings);
    Builder.MarkUsed();
    Builder.Build();
}
