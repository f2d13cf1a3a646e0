#include "MeshConversion/MeshDescriptionToDynamicMesh.h"

#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "MeshConversion/OverlayWelder.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

namespace
{
/** One conversion: the attribute handles of both meshes and the element maps between them. */
class FToDynamicMesh
{
public:
    FToDynamicMesh(const FMeshDescription& InSource, FDynamicMesh3& InTarget,
                   FMeshDescriptionToDynamicMesh& InMaps, bool bCopyTangents)
        : Source(InSource), SourceAttributes(InSource), Target(InTarget), Maps(InMaps)
    {
        Target.Clear();
        Target.EnableTriangleGroups();
        Target.EnableAttributes();
        Attributes = Target.Attributes();
        PrepareOverlays(bCopyTangents);
        PrepareVertexAttributes();
    }

    void Run()
    {
        // Without non-manifold edges the mesh has the description's elements, and an overlay at most one
        // element per vertex instance.
        Target.Reserve(Source.Vertices().Num(), Source.Triangles().Num(), Source.Edges().Num());
        CopyPolygonGroups();
        CopyVertices();
        CopyTriangles();
    }

private:
    void PrepareOverlays(bool bCopyTangents)
    {
        InstanceAttributes = SourceAttributes.GetVertexInstanceAttributes();
        const int32 NumVertices = Source.Vertices().Num();
        const int32 NumElements = Source.VertexInstances().Num();
        const int32 NumSources = Source.VertexInstances().GetArraySize();
        Attributes->SetNumUVLayers(InstanceAttributes.UVs.IsValid() ? InstanceAttributes.UVs.GetNumChannels()
                                                                    : 0);
        for (int32 Layer = 0; Layer < Attributes->NumUVLayers(); ++Layer)
        {
            UVWelders.Emplace(Attributes->GetUVLayer(Layer), NumVertices, NumElements, NumSources);
        }
        NormalWelder = TOverlayWelder(Attributes->PrimaryNormals(), NumVertices, NumElements, NumSources);
        if (bCopyTangents && InstanceAttributes.Tangents.IsValid())
        {
            Attributes->EnableTangents();
            TangentWelder =
                TOverlayWelder(Attributes->PrimaryTangents(), NumVertices, NumElements, NumSources);
        }
        if (InstanceAttributes.Colors.IsValid())
        {
            Attributes->EnablePrimaryColors();
            ColorWelder = TOverlayWelder(Attributes->PrimaryColors(), NumVertices, NumElements, NumSources);
        }
        Attributes->EnableMaterialID();
    }

    void PrepareVertexAttributes()
    {
        Positions = SourceAttributes.GetVertexPositions();
        for (const FName Profile : SourceAttributes.GetSkinWeightProfileNames())
        {
            SkinWeights.Add({SourceAttributes.GetVertexSkinWeights(Profile),
                             Attributes->AttachSkinWeightsAttribute(Profile)});
        }
        for (const FName Morph : SourceAttributes.GetMorphTargetNames())
        {
            Morphs.Add({SourceAttributes.GetVertexMorphPositionDelta(Morph),
                        Attributes->AttachMorphTargetAttribute(Morph)});
        }
    }

    void CopyPolygonGroups()
    {
        const auto SlotNames = SourceAttributes.GetPolygonGroupMaterialSlotNames();
        for (const FPolygonGroupID Group : Source.PolygonGroups().GetElementIDs())
        {
            Attributes->MaterialGroups().Add(
                {Group.GetValue(), SlotNames.IsValid() ? SlotNames[Group] : NAME_None});
        }
    }

    void CopyVertices()
    {
        TargetVertexOf.Init(FDynamicMesh3::InvalidID, Source.Vertices().GetArraySize());
        Maps.VertexMap.Reserve(Source.Vertices().Num());
        for (const FVertexID Vertex : Source.Vertices().GetElementIDs())
        {
            TargetVertexOf[Vertex.GetValue()] = AppendVertexCopy(Vertex);
        }
    }

    int32 AppendVertexCopy(FVertexID Vertex)
    {
        const FVector3f Position = Positions[Vertex];
        const int32 Copy = Target.AppendVertex(FVector(Position.X, Position.Y, Position.Z));
        for (const auto& [From, To] : SkinWeights)
        {
            To->SetValue(Copy, From.Get(Vertex));
        }
        for (const auto& [From, To] : Morphs)
        {
            To->SetValue(Copy, From[Vertex]);
        }
        Maps.VertexMap.Add(Vertex);
        return Copy;
    }

    void CopyTriangles()
    {
        Maps.TriangleMap.Reserve(Source.Triangles().Num());
        for (const FTriangleID Triangle : Source.Triangles().GetElementIDs())
        {
            CopyTriangle(Triangle);
        }
    }

    void CopyTriangle(FTriangleID Triangle)
    {
        const std::array<FVertexInstanceID, 3>& Corners = Source.GetTriangleVertexInstances(Triangle);
        const std::array<FVertexID, 3> Vertices = Source.GetTriangleVertices(Triangle);
        const int32 Group = Source.GetTrianglePolygonGroup(Triangle).GetValue();
        FIndex3i TargetVertices{TargetVertexOf[Vertices[0].GetValue()],
                                TargetVertexOf[Vertices[1].GetValue()],
                                TargetVertexOf[Vertices[2].GetValue()]};
        int32 NewTriangle = Target.AppendTriangle(TargetVertices, Group);
        FIndex3i Sources{Corners[0].GetValue(), Corners[1].GetValue(), Corners[2].GetValue()};
        if (NewTriangle < 0)
        {
            Sources = FIndex3i{FDynamicMesh3::InvalidID, FDynamicMesh3::InvalidID, FDynamicMesh3::InvalidID};
            TargetVertices = FIndex3i{AppendVertexCopy(Vertices[0]), AppendVertexCopy(Vertices[1]),
                                      AppendVertexCopy(Vertices[2])};
            NewTriangle = Target.AppendTriangle(TargetVertices, Group);
            VT_CHECKF(NewTriangle >= 0, "triangle %d could not be added even on its own vertices",
                      Triangle.GetValue());
        }
        SetCornerElements(NewTriangle, TargetVertices, Sources, Corners);
        Attributes->GetMaterialID()->SetValue(NewTriangle, Group);
        Maps.TriangleMap.Add(Triangle);
    }

    void SetCornerElements(int32 Triangle, const FIndex3i& Vertices, const FIndex3i& Sources,
                           const std::array<FVertexInstanceID, 3>& Corners)
    {
        const TVertexInstanceAttributes<true>& From = InstanceAttributes;
        for (int32 Layer = 0; Layer < UVWelders.Num(); ++Layer)
        {
            UVWelders[Layer].SetTriangle(Triangle, Vertices, Sources,
                                         [&](int32 Corner) { return From.UVs.Get(Corners[Corner], Layer); });
        }
        NormalWelder.SetTriangle(Triangle, Vertices, Sources,
                                 [&](int32 Corner) {
                                     return From.Normals.IsValid() ? From.Normals[Corners[Corner]]
                                                                   : FVector3f(0.0f, 0.0f, 1.0f);
                                 });
        if (TangentWelder.IsActive())
        {
            TangentWelder.SetTriangle(Triangle, Vertices, Sources,
                                      [&](int32 Corner)
                                      {
                                          const FVector3f Tangent = From.Tangents[Corners[Corner]];
                                          return FVector4f(Tangent.X, Tangent.Y, Tangent.Z,
                                                           From.BinormalSigns.IsValid()
                                                               ? From.BinormalSigns[Corners[Corner]]
                                                               : 1.0f);
                                      });
        }
        if (ColorWelder.IsActive())
        {
            ColorWelder.SetTriangle(Triangle, Vertices, Sources,
                                    [&](int32 Corner) { return From.Colors[Corners[Corner]]; });
        }
    }

    const FMeshDescription& Source;
    FSkeletalMeshAttributesShared SourceAttributes;
    FDynamicMesh3& Target;
    FMeshDescriptionToDynamicMesh& Maps;
    FDynamicMeshAttributeSet* Attributes = nullptr;

    TMeshAttributesConstRef<FVertexID, FVector3f> Positions;
    TVertexInstanceAttributes<true> InstanceAttributes;
    TArray<TOverlayWelder<FDynamicMeshUVOverlay>> UVWelders;
    TOverlayWelder<FDynamicMeshNormalOverlay> NormalWelder;
    TOverlayWelder<FDynamicMeshTangentOverlay> TangentWelder;
    TOverlayWelder<FDynamicMeshColorOverlay> ColorWelder;
    TArray<std::pair<FSkinWeightsVertexAttributesConstRef, FDynamicMeshVertexSkinWeightsAttribute*>>
        SkinWeights;
    TArray<std::pair<TMeshAttributesConstRef<FVertexID, FVector3f>, FDynamicMeshMorphTargetAttribute*>>
        Morphs;

    TArray<int32> TargetVertexOf;
};
} // namespace

void FMeshDescriptionToDynamicMesh::Convert(const FMeshDescription& MeshIn, FDynamicMesh3& MeshOut,
                                            bool bCopyTangents)
{
    TriangleMap.Reset();
    VertexMap.Reset();
    FToDynamicMesh(MeshIn, MeshOut, *this, bCopyTangents).Run();
}
