#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/DynamicMesh/MeshValidityReport.h"

namespace
{
template <typename AttributeType>
std::unique_ptr<AttributeType> CloneOrNull(const std::unique_ptr<AttributeType>& Source)
{
    return Source ? std::make_unique<AttributeType>(*Source) : nullptr;
}

/** Creates the attribute for the mesh unless it exists. */
template <typename AttributeType>
void EnsureAttribute(std::unique_ptr<AttributeType>& Attribute, const FDynamicMesh3* Mesh)
{
    if (!Attribute)
    {
        Attribute = std::make_unique<AttributeType>(Mesh);
    }
}
} // namespace

template <typename... HookArgTypes, typename... ArgTypes>
void FDynamicMeshAttributeSet::Forward(void (FDynamicMeshAttributeBase::*Hook)(HookArgTypes...),
                                       const ArgTypes&... Args)
{
    VisitAttributes(*this, [&](FDynamicMeshAttributeBase& Attribute) { (Attribute.*Hook)(Args...); });
}

template <typename SetType, typename FuncType>
void FDynamicMeshAttributeSet::VisitOverlays(SetType& Set, FuncType&& Func)
{
    for (auto& Layer : Set.UVLayers)
    {
        Func(*Layer);
    }
    Func(*Set.Normals);
    if (Set.Tangents)
    {
        Func(*Set.Tangents);
    }
    if (Set.Colors)
    {
        Func(*Set.Colors);
    }
}

template <typename SetType, typename FuncType>
void FDynamicMeshAttributeSet::VisitAttributes(SetType& Set, FuncType&& Func)
{
    VisitOverlays(Set, Func);
    if (Set.MaterialIDs)
    {
        Func(*Set.MaterialIDs);
    }
    Set.MorphTargets.ForEach(Func);
    Set.SkinWeights.ForEach(Func);
}

FDynamicMeshAttributeSet::FDynamicMeshAttributeSet(const FDynamicMesh3* Mesh)
    : FDynamicMeshAttributeBase(Mesh), Normals(std::make_unique<FDynamicMeshNormalOverlay>(Mesh))
{
    SetNumUVLayers(1);
}

FDynamicMeshAttributeSet::~FDynamicMeshAttributeSet() = default;

void FDynamicMeshAttributeSet::Copy(const FDynamicMeshAttributeSet& Source)
{
    UVLayers.Reset();
    for (const std::unique_ptr<FDynamicMeshUVOverlay>& Layer : Source.UVLayers)
    {
        UVLayers.Add(CloneOrNull(Layer));
    }
    Normals = CloneOrNull(Source.Normals);
    Tangents = CloneOrNull(Source.Tangents);
    Colors = CloneOrNull(Source.Colors);
    MaterialIDs = CloneOrNull(Source.MaterialIDs);
    MorphTargets.CopyFrom(Source.MorphTargets);
    SkinWeights.CopyFrom(Source.SkinWeights);
    MaterialGroupList = Source.MaterialGroupList;
    Reparent(GetParentMesh());
}

void FDynamicMeshAttributeSet::SetNumUVLayers(int32 Num)
{
    VT_CHECKF(Num >= 0, "%d UV layers", Num);
    if (Num < UVLayers.Num())
    {
        UVLayers.RemoveAt(Num, UVLayers.Num() - Num);
    }
    while (UVLayers.Num() < Num)
    {
        UVLayers.Add(std::make_unique<FDynamicMeshUVOverlay>(GetParentMesh()));
    }
}

void FDynamicMeshAttributeSet::EnableTangents()
{
    EnsureAttribute(Tangents, GetParentMesh());
}

void FDynamicMeshAttributeSet::EnablePrimaryColors()
{
    EnsureAttribute(Colors, GetParentMesh());
}

void FDynamicMeshAttributeSet::EnableMaterialID()
{
    EnsureAttribute(MaterialIDs, GetParentMesh());
}

FDynamicMeshMorphTargetAttribute* FDynamicMeshAttributeSet::AttachMorphTargetAttribute(FName Name)
{
    return MorphTargets.Attach(Name, GetParentMesh());
}

const FDynamicMeshMorphTargetAttribute* FDynamicMeshAttributeSet::GetMorphTargetAttribute(FName Name) const
{
    return MorphTargets.Find(Name);
}

FDynamicMeshVertexSkinWeightsAttribute* FDynamicMeshAttributeSet::AttachSkinWeightsAttribute(FName Profile)
{
    return SkinWeights.Attach(Profile, GetParentMesh());
}

FDynamicMeshVertexSkinWeightsAttribute* FDynamicMeshAttributeSet::GetSkinWeightsAttribute(FName Profile)
{
    return SkinWeights.Find(Profile);
}

const FDynamicMeshVertexSkinWeightsAttribute*
FDynamicMeshAttributeSet::GetSkinWeightsAttribute(FName Profile) const
{
    return SkinWeights.Find(Profile);
}

bool FDynamicMeshAttributeSet::IsSeamEdge(int32 EdgeID) const
{
    bool bSeam = false;
    VisitOverlays(*this,
                  [EdgeID, &bSeam](const auto& Overlay) { bSeam = bSeam || Overlay.IsSeamEdge(EdgeID); });
    return bSeam;
}

bool FDynamicMeshAttributeSet::IsMaterialBoundaryEdge(int32 EdgeID) const
{
    const FIndex2i EdgeTris = GetParentMesh()->GetEdgeT(EdgeID);
    return MaterialIDs && EdgeTris.B != FDynamicMesh3::InvalidID &&
           MaterialIDs->GetValue(EdgeTris.A) != MaterialIDs->GetValue(EdgeTris.B);
}

void FDynamicMeshAttributeSet::CheckValidity(FMeshValidityReport& Report) const
{
    VisitAttributes(*this,
                    [this, &Report](const FDynamicMeshAttributeBase& Attribute)
                    {
                        if (Report.Check(Attribute.GetParentMesh() == GetParentMesh(),
                                         "an attribute belongs to another mesh"))
                        {
                            Attribute.CheckValidity(Report);
                        }
                    });
}

void FDynamicMeshAttributeSet::Reserve(int32 NumVertices, int32 NumTriangles)
{
    Forward(&FDynamicMeshAttributeBase::Reserve, NumVertices, NumTriangles);
}

void FDynamicMeshAttributeSet::OnNewVertex(int32 VertexID)
{
    Forward(&FDynamicMeshAttributeBase::OnNewVertex, VertexID);
}

void FDynamicMeshAttributeSet::OnRemoveVertex(int32 VertexID)
{
    Forward(&FDynamicMeshAttributeBase::OnRemoveVertex, VertexID);
}

void FDynamicMeshAttributeSet::OnNewTriangle(int32 TriangleID)
{
    Forward(&FDynamicMeshAttributeBase::OnNewTriangle, TriangleID);
}

void FDynamicMeshAttributeSet::OnRemoveTriangle(int32 TriangleID)
{
    Forward(&FDynamicMeshAttributeBase::OnRemoveTriangle, TriangleID);
}

void FDynamicMeshAttributeSet::OnReverseTriOrientation(int32 TriangleID)
{
    Forward(&FDynamicMeshAttributeBase::OnReverseTriOrientation, TriangleID);
}

void FDynamicMeshAttributeSet::OnSplitVertex(const FVertexSplitInfo& Split)
{
    Forward(&FDynamicMeshAttributeBase::OnSplitVertex, Split);
}

void FDynamicMeshAttributeSet::OnSplitEdge(const FEdgeSplitInfo& Split)
{
    Forward(&FDynamicMeshAttributeBase::OnSplitEdge, Split);
}

void FDynamicMeshAttributeSet::OnFlipEdge(const FEdgeFlipInfo& Flip)
{
    Forward(&FDynamicMeshAttributeBase::OnFlipEdge, Flip);
}

void FDynamicMeshAttributeSet::OnCollapseEdge(const FEdgeCollapseInfo& Collapse)
{
    Forward(&FDynamicMeshAttributeBase::OnCollapseEdge, Collapse);
}

void FDynamicMeshAttributeSet::Reparent(const FDynamicMesh3* NewParentMesh)
{
    FDynamicMeshAttributeBase::Reparent(NewParentMesh);
    VisitAttributes(*this, [NewParentMesh](FDynamicMeshAttributeBase& Attribute)
                    { Attribute.Reparent(NewParentMesh); });
}
