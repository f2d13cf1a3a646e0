#include "MeshConversion/DynamicMeshToMeshDescription.h"

#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

namespace
{
/** One conversion: the attribute handles of both meshes and the element maps between them. */
class FToMeshDescription
{
public:
    FToMeshDescription(const FDynamicMesh3& InSource, FMeshDescription& InTarget, bool bCopyTangents)
        : Source(InSource), Attributes(InSource.Attributes()), Target(InTarget), TargetAttributes(InTarget)
    {
        Target.Empty();
        TargetAttributes.Register();
        bTangents = bCopyTangents && Attributes && Attributes->HasTangents();
        NumUVLayers = Attributes ? Attributes->NumUVLayers() : 0;
        if (Attributes)
        {
            TargetAttributes.GetVertexInstanceUVs().SetNumChannels(NumUVLayers);
        }
        InstanceAttributes = TargetAttributes.GetVertexInstanceAttributes();
        // Per corner: the element of every UV layer, then normal, tangent and colour.
        KeySize = NumUVLayers + 3;
        Key.Init(FDynamicMesh3::InvalidID, KeySize); // stays so without attributes; else rewritten per corner
    }

    void Run()
    {
        // The elements are made in bulk; their adjacency is built when first asked for.
        Target.ResetIndexers();
        Target.Reserve(Source.VertexCount(), Source.VertexCount(), Source.EdgeCount(), Source.TriangleCount(),
                       Source.TriangleCount(), 0);
        CreatePolygonGroups();
        CopyVertices();
        CopyTriangles();
    }

private:
    int32 MaterialOf(int32 Triangle) const
    {
        return Attributes && Attributes->HasMaterialID() ? Attributes->GetMaterialID()->GetValue(Triangle)
                                                         : 0;
    }

    void CreatePolygonGroup(int32 ID, FName SlotName)
    {
        const FPolygonGroupID Group(ID);
        if (!Target.PolygonGroups().IsValid(Group))
        {
            Target.CreatePolygonGroupWithID(Group);
            TargetAttributes.GetPolygonGroupMaterialSlotNames()[Group] = SlotName;
        }
    }

    void CreatePolygonGroups()
    {
        if (Attributes)
        {
            for (const FDynamicMeshMaterialGroup& Group : Attributes->MaterialGroups())
            {
                CreatePolygonGroup(Group.ID, Group.SlotName);
            }
        }
        for (const int32 Triangle : Source.TriangleIndices())
        {
            VT_CHECKF(MaterialOf(Triangle) >= 0, "triangle %d has material ID %d", Triangle,
                      MaterialOf(Triangle));
            CreatePolygonGroup(MaterialOf(Triangle), NAME_None);
        }
    }

    void CopyVertices()
    {
        TArray<std::pair<const FDynamicMeshVertexSkinWeightsAttribute*, FSkinWeightsVertexAttributesRef>>
            SkinWeights;
        TArray<std::pair<const FDynamicMeshMorphTargetAttribute*, TMeshAttributesRef<FVertexID, FVector3f>>>
            Morphs;
        if (Attributes)
        {
            for (const FName Profile : Attributes->GetSkinWeightsProfiles())
            {
                TargetAttributes.RegisterSkinWeightAttribute(Profile);
                SkinWeights.Add({Attributes->GetSkinWeightsAttribute(Profile),
                                 TargetAttributes.GetVertexSkinWeights(Profile)});
            }
            for (const FName Morph : Attributes->GetMorphTargetNames())
            {
                TargetAttributes.RegisterMorphTargetAttribute(Morph, false);
                Morphs.Add({Attributes->GetMorphTargetAttribute(Morph),
                            TargetAttributes.GetVertexMorphPositionDelta(Morph)});
            }
        }
        const auto Positions = TargetAttributes.GetVertexPositions();
        TargetVertexOf.Init(INDEX_NONE, Source.MaxVertexID());
        for (const int32 Vertex : Source.VertexIndices())
        {
            const FVertexID Copy = Target.CreateVertex();
            TargetVertexOf[Vertex] = Copy.GetValue();
            const FVector Position = Source.GetVertex(Vertex);
            Positions[Copy] = FVector3f(static_cast<float>(Position.X), static_cast<float>(Position.Y),
                                        static_cast<float>(Position.Z));
            for (const auto& [From, To] : SkinWeights)
            {
                To.Set(Copy, From->GetValue(Vertex));
            }
            for (const auto& [From, To] : Morphs)
            {
                To[Copy] = From->GetValue(Vertex);
            }
        }
    }

    void CopyTriangles()
    {
        FirstInstanceOf.Init(INDEX_NONE, Source.MaxVertexID());
        TArray<FTriangleCorners> Triangles;
        Triangles.Reserve(Source.TriangleCount());
        for (const int32 Triangle : Source.TriangleIndices())
        {
            const FIndex3i Vertices = Source.GetTriangle(Triangle);
            FTriangleCorners& Created = Triangles.Emplace_GetRef();
            Created.Group = FPolygonGroupID(MaterialOf(Triangle));
            for (int32 Corner = 0; Corner < 3; ++Corner)
            {
                Created.Corners[Corner] = FindOrCreateInstance(Vertices[Corner], CornerKey(Triangle, Corner));
            }
        }
        Target.CreateTriangles(Triangles);
    }

    /** The overlay elements at one corner, InvalidID where an overlay is missing or leaves the triangle
     * unset. */
    std::span<const int32> CornerKey(int32 Triangle, int32 Corner)
    {
        if (!Attributes)
        {
            return Key;
        }
        const auto ElementAt = [Triangle, Corner](const auto* Overlay)
        {
            return Overlay && Overlay->IsSetTriangle(Triangle) ? Overlay->GetTriangle(Triangle)[Corner]
                                                               : FDynamicMesh3::InvalidID;
        };
        for (int32 Layer = 0; Layer < NumUVLayers; ++Layer)
        {
            Key[Layer] = ElementAt(Attributes->GetUVLayer(Layer));
        }
        Key[NumUVLayers] = ElementAt(Attributes->PrimaryNormals());
        Key[NumUVLayers + 1] =
            bTangents ? ElementAt(Attributes->PrimaryTangents()) : FDynamicMesh3::InvalidID;
        Key[NumUVLayers + 2] = ElementAt(Attributes->PrimaryColors());
        return Key;
    }

    /** The instance of the vertex with these elements; each vertex keeps a chain of the instances made for
     * it. */
    FVertexInstanceID FindOrCreateInstance(int32 Vertex, std::span<const int32> ElementKey)
    {
        for (int32 Instance = FirstInstanceOf[Vertex]; Instance != INDEX_NONE;
             Instance = NextInstance[Instance])
        {
            if (SameKey(ElementKey, InstanceKeys.GetData() + Instance * KeySize))
            {
                return FVertexInstanceID(Instance);
            }
        }
        const FVertexInstanceID Instance = Target.CreateVertexInstance(FVertexID(TargetVertexOf[Vertex]));
        VT_CHECKF(Instance.GetValue() == NextInstance.Num(),
                  "instances of a fresh description are dense (%d)", Instance.GetValue());
        NextInstance.Add(FirstInstanceOf[Vertex]);
        FirstInstanceOf[Vertex] = Instance.GetValue();
        for (const int32 Element : ElementKey)
        {
            InstanceKeys.Add(Element);
        }
        WriteInstanceValues(Instance, ElementKey);
        return Instance;
    }

    /** Keys are a few elements long: a plain loop beats a call to compare memory. */
    static bool SameKey(std::span<const int32> ElementKey, const int32* Stored)
    {
        for (size_t Index = 0; Index < ElementKey.size(); ++Index)
        {
            if (ElementKey[Index] != Stored[Index])
            {
                return false;
            }
        }
        return true;
    }

    void WriteInstanceValues(FVertexInstanceID Instance, std::span<const int32> ElementKey)
    {
        for (int32 Layer = 0; Layer < NumUVLayers; ++Layer)
        {
            if (ElementKey[Layer] != FDynamicMesh3::InvalidID)
            {
                InstanceAttributes.UVs.Set(Instance, Layer,
                                           Attributes->GetUVLayer(Layer)->GetElement(ElementKey[Layer]));
            }
        }
        if (const int32 Normal = ElementKey[NumUVLayers]; Normal != FDynamicMesh3::InvalidID)
        {
            InstanceAttributes.Normals[Instance] = Attributes->PrimaryNormals()->GetElement(Normal);
        }
        if (const int32 Tangent = ElementKey[NumUVLayers + 1]; Tangent != FDynamicMesh3::InvalidID)
        {
            const FVector4f Value = Attributes->PrimaryTangents()->GetElement(Tangent);
            InstanceAttributes.Tangents[Instance] = FVector3f(Value.X, Value.Y, Value.Z);
            InstanceAttributes.BinormalSigns[Instance] = Value.W;
        }
        if (const int32 Color = ElementKey[NumUVLayers + 2]; Color != FDynamicMesh3::InvalidID)
        {
            InstanceAttributes.Colors[Instance] = Attributes->PrimaryColors()->GetElement(Color);
        }
    }

    const FDynamicMesh3& Source;
    const FDynamicMeshAttributeSet* Attributes;
    FMeshDescription& Target;
    FSkeletalMeshAttributes TargetAttributes;
    TVertexInstanceAttributes<false> InstanceAttributes;
    bool bTangents = false;
    int32 NumUVLayers = 0;
    int32 KeySize = 0;

    TArray<int32> TargetVertexOf;
    TArray<int32> FirstInstanceOf;
    TArray<int32> NextInstance;
    TArray<int32> InstanceKeys;
    TArray<int32> Key;
};
} // namespace

void FDynamicMeshToMeshDescription::Convert(const FDynamicMesh3& MeshIn, FMeshDescription& MeshOut,
                                            bool bCopyTangents)
{
    FToMeshDescription(MeshIn, MeshOut, bCopyTangents).Run();
}
