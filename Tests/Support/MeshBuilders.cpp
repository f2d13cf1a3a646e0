#include "Support/MeshBuilders.h"

#include "MeshDescription/MeshAttributes.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

namespace
{
/** Builds the grid: per grid point one vertex, per corner the instance that its attributes call for. */
class FGridBuilder
{
public:
    explicit FGridBuilder(const FSkinnedGridOptions& InOptions) : Options(InOptions), Attributes(Mesh) {}

    FMeshDescription Build()
    {
        Attributes.Register();
        const int32 NumPoints = (Options.QuadsX + 1) * (Options.QuadsY + 1);
        const int32 NumTriangles = 2 * Options.QuadsX * Options.QuadsY;
        Mesh.Reserve(NumPoints, NumPoints + 2 * (Options.QuadsY + Options.QuadsX + 2), NumPoints * 3,
                     NumTriangles, NumTriangles, Options.NumGroups + 1);
        Attributes.GetVertexInstanceUVs().SetNumChannels(Options.NumUVChannels);
        Instances.Init(FVertexInstanceID::Invalid(), NumPoints * 4);
        RegisterMorphs();
        FetchAttributes();
        CreateGroups();
        CreateVertices();
        CreateTriangles();
        return std::move(Mesh);
    }

private:
    int32 PointIndex(int32 X, int32 Y) const { return Y * (Options.QuadsX + 1) + X; }

    void RegisterMorphs()
    {
        if (Options.bMorphTarget)
        {
            Attributes.RegisterMorphTargetAttribute("Smile", false);
        }
        if (Options.bMorphNormals)
        {
            Attributes.RegisterMorphTargetAttribute("Frown", true);
        }
    }

    /** The handles are looked up once: a lookup by name per element would dominate building a large grid. */
    void FetchAttributes()
    {
        Positions = Attributes.GetVertexPositions();
        Weights = Attributes.GetVertexSkinWeights();
        InstanceAttributes = Attributes.GetVertexInstanceAttributes();
        SmileDeltas = Attributes.GetVertexMorphPositionDelta("Smile");
        FrownDeltas = Attributes.GetVertexMorphPositionDelta("Frown");
        FrownNormalDeltas = Attributes.GetVertexInstanceMorphNormalDelta("Frown");
    }

    void CreateGroups()
    {
        auto SlotNames = Attributes.GetPolygonGroupMaterialSlotNames();
        for (int32 Group = 0; Group < Options.NumGroups; ++Group)
        {
            SlotNames[Mesh.CreatePolygonGroup()] = FName(FString::Printf("Slot_%d", Group));
        }
        if (Options.bEmptyGroup)
        {
            SlotNames[Mesh.CreatePolygonGroup()] = FName("Unused");
        }
    }

    void CreateVertices()
    {
        TArray<FBoneWeight> Influences;
        for (int32 Y = 0; Y <= Options.QuadsY; ++Y)
        {
            for (int32 X = 0; X <= Options.QuadsX; ++X)
            {
                const FVertexID Vertex = Mesh.CreateVertex();
                Positions[Vertex] = FVector3f(static_cast<float>(X), static_cast<float>(Y), 0.0f);
                MakeInfluences(Vertex.GetValue(), Influences);
                Weights.Set(Vertex, Influences);
                if (Options.bMorphTarget)
                {
                    SmileDeltas[Vertex] = FVector3f(0.0f, 0.0f, 0.1f * X);
                }
                if (Options.bMorphNormals)
                {
                    FrownDeltas[Vertex] = FVector3f(0.0f, 0.0f, -0.1f * Y);
                }
            }
        }
    }

    void MakeInfluences(int32 Vertex, TArray<FBoneWeight>& Influences) const
    {
        Influences.Reset();
        int32 Remaining = FBoneWeight::MaxRawWeight;
        for (int32 Index = 0; Index < Options.InfluencesPerVertex; ++Index)
        {
            const bool bLast = Index == Options.InfluencesPerVertex - 1;
            const int32 Raw = bLast ? Remaining : Remaining / 2;
            Influences.Add(FBoneWeight{static_cast<uint16>((Vertex + Index) % 64), static_cast<uint16>(Raw)});
            Remaining -= Raw;
        }
    }

    /**
     * The corner of grid point (X, Y) as seen from a quad whose lower-left point is (QuadX, QuadY): one
     * instance per point, plus a second one on the UV seam column and on the hard-edge row.
     */
    FVertexInstanceID CornerInstance(int32 X, int32 Y, int32 QuadX, int32 QuadY)
    {
        const int32 SeamX = Options.QuadsX / 2;
        const int32 HardY = Options.QuadsY / 2;
        const bool bRightOfSeam = X == SeamX && QuadX >= SeamX && SeamX > 0;
        const bool bAboveHardEdge = Options.bHardEdge && Y == HardY && QuadY >= HardY && HardY > 0;
        const int32 Key = PointIndex(X, Y) * 4 + (bRightOfSeam ? 1 : 0) + (bAboveHardEdge ? 2 : 0);
        if (Instances[Key].IsSet())
        {
            return Instances[Key];
        }
        const FVertexInstanceID Instance = Mesh.CreateVertexInstance(FVertexID(PointIndex(X, Y)));
        for (int32 Channel = 0; Channel < Options.NumUVChannels; ++Channel)
        {
            const float U =
                static_cast<float>(X) / Options.QuadsX + (bRightOfSeam && Channel == 0 ? 0.5f : 0.0f);
            InstanceAttributes.UVs.Set(Instance, Channel,
                                       FVector2f(U, static_cast<float>(Y) / Options.QuadsY + Channel));
        }
        InstanceAttributes.Normals[Instance] =
            bAboveHardEdge ? FVector3f(0.0f, 0.6f, 0.8f) : FVector3f(0.0f, 0.0f, 1.0f);
        InstanceAttributes.Tangents[Instance] = FVector3f(1.0f, 0.0f, 0.0f);
        InstanceAttributes.BinormalSigns[Instance] = bRightOfSeam ? -1.0f : 1.0f;
        InstanceAttributes.Colors[Instance] =
            FVector4f(static_cast<float>(X) / Options.QuadsX, 0.5f, 0.25f, 1.0f);
        if (Options.bMorphNormals)
        {
            FrownNormalDeltas[Instance] = FVector3f(0.0f, 0.01f * Y, 0.0f);
        }
        Instances[Key] = Instance;
        return Instance;
    }

    void CreateTriangles()
    {
        for (int32 QuadY = 0; QuadY < Options.QuadsY; ++QuadY)
        {
            for (int32 QuadX = 0; QuadX < Options.QuadsX; ++QuadX)
            {
                const FPolygonGroupID Group(QuadX * Options.NumGroups / Options.QuadsX);
                const FVertexInstanceID A = CornerInstance(QuadX, QuadY, QuadX, QuadY);
                const FVertexInstanceID B = CornerInstance(QuadX + 1, QuadY, QuadX, QuadY);
                const FVertexInstanceID C = CornerInstance(QuadX + 1, QuadY + 1, QuadX, QuadY);
                const FVertexInstanceID D = CornerInstance(QuadX, QuadY + 1, QuadX, QuadY);
                Mesh.CreateTriangle(Group, std::array{A, B, C});
                Mesh.CreateTriangle(Group, std::array{A, C, D});
            }
        }
    }

    const FSkinnedGridOptions& Options;
    FMeshDescription Mesh;
    FSkeletalMeshAttributes Attributes;
    TMeshAttributesRef<FVertexID, FVector3f> Positions;
    FSkinWeightsVertexAttributesRef Weights;
    TVertexInstanceAttributes<false> InstanceAttributes;
    /** Invalid unless the options ask for the morph target. */
    TMeshAttributesRef<FVertexID, FVector3f> SmileDeltas;
    TMeshAttributesRef<FVertexID, FVector3f> FrownDeltas;
    TMeshAttributesRef<FVertexInstanceID, FVector3f> FrownNormalDeltas;
    /** Per grid point its four possible instances: plain, right of the seam, above the hard edge, both. */
    TArray<FVertexInstanceID> Instances;
};
} // namespace

FMeshDescription BuildSkinnedGrid(const FSkinnedGridOptions& Options)
{
    return FGridBuilder(Options).Build();
}

TArray<int32> CountTrianglesPerGroup(const FMeshDescription& Mesh)
{
    TArray<int32> Counts;
    Counts.Init(0, Mesh.PolygonGroups().GetArraySize());
    for (const FTriangleID Triangle : Mesh.Triangles().GetElementIDs())
    {
        ++Counts[Mesh.GetTrianglePolygonGroup(Triangle).GetValue()];
    }
    return Counts;
}

TArray<FTriangleID> TrianglesInGroup(const FMeshDescription& Mesh, int32 Group)
{
    TArray<FTriangleID> Triangles;
    for (const FTriangleID Triangle : Mesh.Triangles().GetElementIDs())
    {
        if (Mesh.GetTrianglePolygonGroup(Triangle).GetValue() == Group)
        {
            Triangles.Add(Triangle);
        }
    }
    return Triangles;
}

std::array<FVector3f, 3> TriangleCornerPositions(const FMeshDescription& Mesh, FTriangleID Triangle)
{
    const TMeshAttributesConstRef<FVertexID, FVector3f> Positions =
        Mesh.VertexAttributes().GetAttributesRef<FVector3f>(MeshAttribute::Vertex::Position);
    const std::array<FVertexID, 3> Corners = Mesh.GetTriangleVertices(Triangle);
    return {Positions[Corners[0]], Positions[Corners[1]], Positions[Corners[2]]};
}
