#pragma once

#include "Core/Math/Vector2.h"
#include "Core/Math/Vector4.h"
#include "MeshDescription/MeshDescription.h"

using FSkinWeightsVertexAttributesRef = TBoneWeightsRef<FVertexID, false>;
using FSkinWeightsVertexAttributesConstRef = TBoneWeightsRef<FVertexID, true>;

/** The corner attributes of a skinned mesh, looked up once for loops over many vertex instances. */
template <bool bConst>
struct TVertexInstanceAttributes
{
    template <typename T>
    using TRef = TMeshAttributesRef<FVertexInstanceID, std::conditional_t<bConst, const T, T>>;

    TRef<FVector2f> UVs;
    TRef<FVector3f> Normals;
    TRef<FVector3f> Tangents;
    TRef<float> BinormalSigns;
    TRef<FVector4f> Colors;
};

/**
 * Read access to the attributes of a skinned mesh description: the standard vertex and corner
 * attributes, the material slot name of each polygon group, skin-weight profiles and morph targets.
 *
 * A skin-weight profile gives every vertex a list of bone influences; the default profile's name is
 * NAME_None. A morph target gives every vertex a position delta and, optionally, every vertex
 * instance a normal delta.
 */
class FSkeletalMeshAttributesShared
{
public:
    explicit FSkeletalMeshAttributesShared(const FMeshDescription& InMesh) : ConstMesh(InMesh) {}
    /** The accessor keeps a reference to the mesh, so it cannot be made for a temporary one. */
    explicit FSkeletalMeshAttributesShared(const FMeshDescription&& InMesh) = delete;

    static constexpr FName DefaultSkinWeightProfileName = NAME_None;

    TMeshAttributesConstRef<FVertexID, FVector3f> GetVertexPositions() const;
    TMeshAttributesConstRef<FVertexInstanceID, FVector3f> GetVertexInstanceNormals() const;
    TMeshAttributesConstRef<FVertexInstanceID, FVector3f> GetVertexInstanceTangents() const;
    TMeshAttributesConstRef<FVertexInstanceID, float> GetVertexInstanceBinormalSigns() const;
    TMeshAttributesConstRef<FVertexInstanceID, FVector2f> GetVertexInstanceUVs() const;
    TMeshAttributesConstRef<FVertexInstanceID, FVector4f> GetVertexInstanceColors() const;
    TMeshAttributesConstRef<FPolygonGroupID, FName> GetPolygonGroupMaterialSlotNames() const;
    TVertexInstanceAttributes<true> GetVertexInstanceAttributes() const
    {
        return {GetVertexInstanceUVs(), GetVertexInstanceNormals(), GetVertexInstanceTangents(),
                GetVertexInstanceBinormalSigns(), GetVertexInstanceColors()};
    }

    /** Every registered skin-weight profile, the default one included, in the order registered. */
    TArray<FName> GetSkinWeightProfileNames() const;
    FSkinWeightsVertexAttributesConstRef
    GetVertexSkinWeights(FName Profile = DefaultSkinWeightProfileName) const;

    /** Every morph target, in the order registered. */
    TArray<FName> GetMorphTargetNames() const;
    bool HasMorphTargetNormalsAttribute(FName MorphTarget) const;
    TMeshAttributesConstRef<FVertexID, FVector3f> GetVertexMorphPositionDelta(FName MorphTarget) const;
    TMeshAttributesConstRef<FVertexInstanceID, FVector3f>
    GetVertexInstanceMorphNormalDelta(FName MorphTarget) const;

protected:
    static FName SkinWeightsAttributeName(FName Profile);
    static FName MorphPositionAttributeName(FName MorphTarget);
    static FName MorphNormalAttributeName(FName MorphTarget);

private:
    const FMeshDescription& ConstMesh;
};

/** Registration of and write access to the attributes of a skinned mesh description. */
class FSkeletalMeshAttributes : public FSkeletalMeshAttributesShared
{
public:
    explicit FSkeletalMeshAttributes(FMeshDescription& InMesh)
        : FSkeletalMeshAttributesShared(InMesh), Mesh(InMesh)
    {
    }
    explicit FSkeletalMeshAttributes(FMeshDescription&& InMesh) = delete;

    /**
     * Registers the standard attributes (positions, normals, tangents, binormal signs, one texture
     * coordinate channel, colours, material slot names) and the default skin-weight profile.
     * Attributes that exist already are kept with their values.
     */
    void Register();

    /** Adds a skin-weight profile; false if one of that name exists already. */
    bool RegisterSkinWeightAttribute(FName Profile);
    /** Adds a morph target with zero deltas, with normal deltas when asked; false if it exists already. */
    bool RegisterMorphTargetAttribute(FName MorphTarget, bool bIncludeNormals);
    void UnregisterMorphTargetAttribute(FName MorphTarget);

    TMeshAttributesRef<FVertexID, FVector3f> GetVertexPositions();
    TMeshAttributesRef<FVertexInstanceID, FVector3f> GetVertexInstanceNormals();
    TMeshAttributesRef<FVertexInstanceID, FVector3f> GetVertexInstanceTangents();
    TMeshAttributesRef<FVertexInstanceID, float> GetVertexInstanceBinormalSigns();
    TMeshAttributesRef<FVertexInstanceID, FVector2f> GetVertexInstanceUVs();
    TMeshAttributesRef<FVertexInstanceID, FVector4f> GetVertexInstanceColors();
    TMeshAttributesRef<FPolygonGroupID, FName> GetPolygonGroupMaterialSlotNames();
    TVertexInstanceAttributes<false> GetVertexInstanceAttributes()
    {
        return {GetVertexInstanceUVs(), GetVertexInstanceNormals(), GetVertexInstanceTangents(),
                GetVertexInstanceBinormalSigns(), GetVertexInstanceColors()};
    }
    FSkinWeightsVertexAttributesRef GetVertexSkinWeights(FName Profile = DefaultSkinWeightProfileName);
    TMeshAttributesRef<FVertexID, FVector3f> GetVertexMorphPositionDelta(FName MorphTarget);
    TMeshAttributesRef<FVertexInstanceID, FVector3f> GetVertexInstanceMorphNormalDelta(FName MorphTarget);

private:
    FMeshDescription& Mesh;
};
