#pragma once

#include "Core/Containers/Array.h"
#include "Core/Name/Name.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeBase.h"
#include "GeometryCore/DynamicMesh/DynamicMeshMorphTargetAttribute.h"
#include "GeometryCore/DynamicMesh/DynamicMeshNamedAttributes.h"
#include "GeometryCore/DynamicMesh/DynamicMeshOverlayTypes.h"
#include "GeometryCore/DynamicMesh/DynamicMeshTriangleAttribute.h"
#include "GeometryCore/DynamicMesh/DynamicMeshVertexSkinWeightsAttribute.h"

#include <memory>

/** A polygon group of the mesh a dynamic mesh was made from, kept so that converting back restores it. */
struct FDynamicMeshMaterialGroup
{
    int32 ID = 0;
    FName SlotName;

    bool operator==(const FDynamicMeshMaterialGroup&) const = default;
};

/**
 * Every attribute of a dynamic mesh: UV layers and normals (always), tangents, colours and material IDs
 * (when enabled), morph targets by name and skin weights by profile. It is owned by its mesh, which
 * reports each topology change here; the set passes it on to every attribute it holds.
 */
class FDynamicMeshAttributeSet : public FDynamicMeshAttributeBase
{
public:
    /** A set for the mesh with one UV layer and the normals, every triangle unset. */
    explicit FDynamicMeshAttributeSet(const FDynamicMesh3* Mesh);
    ~FDynamicMeshAttributeSet() override;
    FDynamicMeshAttributeSet(const FDynamicMeshAttributeSet&) = delete;
    FDynamicMeshAttributeSet& operator=(const FDynamicMeshAttributeSet&) = delete;

    /** Makes this set a deep copy of Source, attached to this set's mesh, which matches Source's. */
    void Copy(const FDynamicMeshAttributeSet& Source);

    int32 NumUVLayers() const { return UVLayers.Num(); }
    /** Adds empty layers at the end or drops layers from the end. */
    void SetNumUVLayers(int32 Num);
    FDynamicMeshUVOverlay* GetUVLayer(int32 Index) { return UVLayers[Index].get(); }
    const FDynamicMeshUVOverlay* GetUVLayer(int32 Index) const { return UVLayers[Index].get(); }

    FDynamicMeshNormalOverlay* PrimaryNormals() { return Normals.get(); }
    const FDynamicMeshNormalOverlay* PrimaryNormals() const { return Normals.get(); }

    bool HasTangents() const { return Tangents != nullptr; }
    void EnableTangents();
    /** Null until tangents are enabled. */
    FDynamicMeshTangentOverlay* PrimaryTangents() { return Tangents.get(); }
    const FDynamicMeshTangentOverlay* PrimaryTangents() const { return Tangents.get(); }

    bool HasPrimaryColors() const { return Colors != nullptr; }
    void EnablePrimaryColors();
    /** Null until colours are enabled. */
    FDynamicMeshColorOverlay* PrimaryColors() { return Colors.get(); }
    const FDynamicMeshColorOverlay* PrimaryColors() const { return Colors.get(); }

    bool HasMaterialID() const { return MaterialIDs != nullptr; }
    /** Material IDs start at 0 for every triangle. */
    void EnableMaterialID();
    /** Null until material IDs are enabled. */
    FDynamicMeshMaterialAttribute* GetMaterialID() { return MaterialIDs.get(); }
    const FDynamicMeshMaterialAttribute* GetMaterialID() const { return MaterialIDs.get(); }

    /** The morph target of that name, attached with zero deltas when there is none yet. */
    FDynamicMeshMorphTargetAttribute* AttachMorphTargetAttribute(FName Name);
    FDynamicMeshMorphTargetAttribute* GetMorphTargetAttribute(FName Name) { return MorphTargets.Find(Name); }
    const FDynamicMeshMorphTargetAttribute* GetMorphTargetAttribute(FName Name) const;
    /** The names in the order the targets were attached. */
    TArray<FName> GetMorphTargetNames() const { return MorphTargets.GetNames(); }
    bool RemoveMorphTargetAttribute(FName Name) { return MorphTargets.Remove(Name); }

    /** The skin weights of that profile, attached with no influences when there are none yet. */
    FDynamicMeshVertexSkinWeightsAttribute* AttachSkinWeightsAttribute(FName Profile = NAME_None);
    FDynamicMeshVertexSkinWeightsAttribute* GetSkinWeightsAttribute(FName Profile = NAME_None);
    const FDynamicMeshVertexSkinWeightsAttribute* GetSkinWeightsAttribute(FName Profile = NAME_None) const;
    /** The profiles in the order they were attached. */
    TArray<FName> GetSkinWeightsProfiles() const { return SkinWeights.GetNames(); }
    bool RemoveSkinWeightsAttribute(FName Profile) { return SkinWeights.Remove(Profile); }

    /** The source mesh's polygon groups, including those no triangle uses; filled by converters. */
    TArray<FDynamicMeshMaterialGroup>& MaterialGroups() { return MaterialGroupList; }
    const TArray<FDynamicMeshMaterialGroup>& MaterialGroups() const { return MaterialGroupList; }

    /** True when the edge is a seam of any overlay. */
    bool IsSeamEdge(int32 EdgeID) const;
    /** True when the edge's two triangles have different material IDs. */
    bool IsMaterialBoundaryEdge(int32 EdgeID) const;
    bool IsAttributeBoundaryEdge(int32 EdgeID) const
    {
        return IsSeamEdge(EdgeID) || IsMaterialBoundaryEdge(EdgeID);
    }

    void CheckValidity(FMeshValidityReport& Report) const override;

protected:
    friend class FDynamicMesh3;
    friend struct FDynamicMesh3TestAccess;

    void Reserve(int32 NumVertices, int32 NumTriangles) override;
    void OnNewVertex(int32 VertexID) override;
    void OnRemoveVertex(int32 VertexID) override;
    void OnNewTriangle(int32 TriangleID) override;
    void OnRemoveTriangle(int32 TriangleID) override;
    void OnReverseTriOrientation(int32 TriangleID) override;
    void OnSplitVertex(const FVertexSplitInfo& Split) override;
    void OnSplitEdge(const FEdgeSplitInfo& Split) override;
    void OnFlipEdge(const FEdgeFlipInfo& Flip) override;
    void OnCollapseEdge(const FEdgeCollapseInfo& Collapse) override;
    void Reparent(const FDynamicMesh3* NewParentMesh) override;

private:
    template <typename SetType, typename FuncType>
    static void VisitOverlays(SetType& Set, FuncType&& Func);
    template <typename SetType, typename FuncType>
    static void VisitAttributes(SetType& Set, FuncType&& Func);
    /** Calls the hook on every attribute. */
    template <typename... HookArgTypes, typename... ArgTypes>
    void Forward(void (FDynamicMeshAttributeBase::*Hook)(HookArgTypes...), const ArgTypes&... Args);

    TArray<std::unique_ptr<FDynamicMeshUVOverlay>> UVLayers;
    std::unique_ptr<FDynamicMeshNormalOverlay> Normals;
    std::unique_ptr<FDynamicMeshTangentOverlay> Tangents;
    std::unique_ptr<FDynamicMeshColorOverlay> Colors;
    std::unique_ptr<FDynamicMeshMaterialAttribute> MaterialIDs;
    TDynamicMeshNamedAttributes<FDynamicMeshMorphTargetAttribute> MorphTargets;
    TDynamicMeshNamedAttributes<FDynamicMeshVertexSkinWeightsAttribute> SkinWeights;
    TArray<FDynamicMeshMaterialGroup> MaterialGroupList;
};
