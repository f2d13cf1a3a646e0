#include "MeshDescription/SkeletalMeshAttributes.h"

#include "MeshDescription/MeshAttributes.h"

namespace
{
const char* const SkinWeightsPrefix = "SkinWeights";
const char* const MorphPositionPrefix = "MorphTargetPositionDelta-";
const char* const MorphNormalPrefix = "MorphTargetNormalDelta-";

FName PrefixedName(const char* Prefix, FName Name)
{
    return FName(FString(Prefix) + Name.ToString());
}

/** The names that follow Prefix among the given attribute names, in order. */
TArray<FName> NamesAfterPrefix(const TArray<FName>& AttributeNames, const char* Prefix,
                               const char* Separator = "")
{
    TArray<FName> Names;
    const FString FullPrefix = FString(Prefix) + Separator;
    for (const FName Attribute : AttributeNames)
    {
        const FString Text = Attribute.ToString();
        if (Text.Equals(Prefix, ESearchCase::IgnoreCase))
        {
            Names.Add(NAME_None);
        }
        else if (Text.StartsWith(FullPrefix.View(), ESearchCase::IgnoreCase))
        {
            Names.Add(FName(Text.RightChop(FullPrefix.Len())));
        }
    }
    return Names;
}
} // namespace

FName FSkeletalMeshAttributesShared::SkinWeightsAttributeName(FName Profile)
{
    return Profile.IsNone() ? FName(SkinWeightsPrefix)
                            : FName(FString(SkinWeightsPrefix) + "-" + Profile.ToString());
}

FName FSkeletalMeshAttributesShared::MorphPositionAttributeName(FName MorphTarget)
{
    return PrefixedName(MorphPositionPrefix, MorphTarget);
}

FName FSkeletalMeshAttributesShared::MorphNormalAttributeName(FName MorphTarget)
{
    return PrefixedName(MorphNormalPrefix, MorphTarget);
}

TMeshAttributesConstRef<FVertexID, FVector3f> FSkeletalMeshAttributesShared::GetVertexPositions() const
{
    return ConstMesh.VertexAttributes().GetAttributesRef<FVector3f>(MeshAttribute::Vertex::Position);
}

TMeshAttributesConstRef<FVertexInstanceID, FVector3f>
FSkeletalMeshAttributesShared::GetVertexInstanceNormals() const
{
    return ConstMesh.VertexInstanceAttributes().GetAttributesRef<FVector3f>(
        MeshAttribute::VertexInstance::Normal);
}

TMeshAttributesConstRef<FVertexInstanceID, FVector3f>
FSkeletalMeshAttributesShared::GetVertexInstanceTangents() const
{
    return ConstMesh.VertexInstanceAttributes().GetAttributesRef<FVector3f>(
        MeshAttribute::VertexInstance::Tangent);
}

TMeshAttributesConstRef<FVertexInstanceID, float>
FSkeletalMeshAttributesShared::GetVertexInstanceBinormalSigns() const
{
    return ConstMesh.VertexInstanceAttributes().GetAttributesRef<float>(
        MeshAttribute::VertexInstance::BinormalSign);
}

TMeshAttributesConstRef<FVertexInstanceID, FVector2f>
FSkeletalMeshAttributesShared::GetVertexInstanceUVs() const
{
    return ConstMesh.VertexInstanceAttributes().GetAttributesRef<FVector2f>(
        MeshAttribute::VertexInstance::TextureCoordinate);
}

TMeshAttributesConstRef<FVertexInstanceID, FVector4f>
FSkeletalMeshAttributesShared::GetVertexInstanceColors() const
{
    return ConstMesh.VertexInstanceAttributes().GetAttributesRef<FVector4f>(
        MeshAttribute::VertexInstance::Color);
}

TMeshAttributesConstRef<FPolygonGroupID, FName>
FSkeletalMeshAttributesShared::GetPolygonGroupMaterialSlotNames() const
{
    return ConstMesh.PolygonGroupAttributes().GetAttributesRef<FName>(
        MeshAttribute::PolygonGroup::ImportedMaterialSlotName);
}

TArray<FName> FSkeletalMeshAttributesShared::GetSkinWeightProfileNames() const
{
    TArray<FName> Profiles;
    for (const FName Profile :
         NamesAfterPrefix(ConstMesh.VertexAttributes().GetAttributeNames(), SkinWeightsPrefix, "-"))
    {
        if (ConstMesh.VertexAttributes().FindArray<const FMeshBoneWeightsArray>(
                SkinWeightsAttributeName(Profile)))
        {
            Profiles.Add(Profile);
        }
    }
    return Profiles;
}

FSkinWeightsVertexAttributesConstRef FSkeletalMeshAttributesShared::GetVertexSkinWeights(FName Profile) const
{
    return FSkinWeightsVertexAttributesConstRef(
        ConstMesh.VertexAttributes().FindArray<const FMeshBoneWeightsArray>(
            SkinWeightsAttributeName(Profile)));
}

TArray<FName> FSkeletalMeshAttributesShared::GetMorphTargetNames() const
{
    TArray<FName> MorphTargets;
    for (const FName MorphTarget :
         NamesAfterPrefix(ConstMesh.VertexAttributes().GetAttributeNames(), MorphPositionPrefix))
    {
        if (GetVertexMorphPositionDelta(MorphTarget).IsValid())
        {
            MorphTargets.Add(MorphTarget);
        }
    }
    return MorphTargets;
}

bool FSkeletalMeshAttributesShared::HasMorphTargetNormalsAttribute(FName MorphTarget) const
{
    return GetVertexInstanceMorphNormalDelta(MorphTarget).IsValid();
}

TMeshAttributesConstRef<FVertexID, FVector3f>
FSkeletalMeshAttributesShared::GetVertexMorphPositionDelta(FName MorphTarget) const
{
    return ConstMesh.VertexAttributes().GetAttributesRef<FVector3f>(MorphPositionAttributeName(MorphTarget));
}

TMeshAttributesConstRef<FVertexInstanceID, FVector3f>
FSkeletalMeshAttributesShared::GetVertexInstanceMorphNormalDelta(FName MorphTarget) const
{
    return ConstMesh.VertexInstanceAttributes().GetAttributesRef<FVector3f>(
        MorphNormalAttributeName(MorphTarget));
}

void FSkeletalMeshAttributes::Register()
{
    Mesh.VertexAttributes().RegisterAttribute<FVector3f>(MeshAttribute::Vertex::Position);
    auto& Instances = Mesh.VertexInstanceAttributes();
    Instances.RegisterAttribute<FVector3f>(MeshAttribute::VertexInstance::Normal);
    Instances.RegisterAttribute<FVector3f>(MeshAttribute::VertexInstance::Tangent);
    Instances.RegisterAttribute<float>(MeshAttribute::VertexInstance::BinormalSign, 1, 1.0f);
    Instances.RegisterAttribute<FVector2f>(MeshAttribute::VertexInstance::TextureCoordinate);
    Instances.RegisterAttribute<FVector4f>(MeshAttribute::VertexInstance::Color, 1,
                                           FVector4f(1.0f, 1.0f, 1.0f, 1.0f));
    Mesh.PolygonGroupAttributes().RegisterAttribute<FName>(
        MeshAttribute::PolygonGroup::ImportedMaterialSlotName);
    RegisterSkinWeightAttribute(DefaultSkinWeightProfileName);
}

bool FSkeletalMeshAttributes::RegisterSkinWeightAttribute(FName Profile)
{
    const FName Name = SkinWeightsAttributeName(Profile);
    if (Mesh.VertexAttributes().HasAttribute(Name))
    {
        return false;
    }
    Mesh.VertexAttributes().RegisterArray(Name, std::make_unique<FMeshBoneWeightsArray>(0));
    return true;
}

bool FSkeletalMeshAttributes::RegisterMorphTargetAttribute(FName MorphTarget, bool bIncludeNormals)
{
    const FName PositionName = MorphPositionAttributeName(MorphTarget);
    if (MorphTarget.IsNone() || Mesh.VertexAttributes().HasAttribute(PositionName))
    {
        return false;
    }
    Mesh.VertexAttributes().RegisterAttribute<FVector3f>(PositionName);
    if (bIncludeNormals)
    {
        Mesh.VertexInstanceAttributes().RegisterAttribute<FVector3f>(MorphNormalAttributeName(MorphTarget));
    }
    return true;
}

void FSkeletalMeshAttributes::UnregisterMorphTargetAttribute(FName MorphTarget)
{
    Mesh.VertexAttributes().UnregisterAttribute(MorphPositionAttributeName(MorphTarget));
    Mesh.VertexInstanceAttributes().UnregisterAttribute(MorphNormalAttributeName(MorphTarget));
}

TMeshAttributesRef<FVertexID, FVector3f> FSkeletalMeshAttributes::GetVertexPositions()
{
    return Mesh.VertexAttributes().GetAttributesRef<FVector3f>(MeshAttribute::Vertex::Position);
}

TMeshAttributesRef<FVertexInstanceID, FVector3f> FSkeletalMeshAttributes::GetVertexInstanceNormals()
{
    return Mesh.VertexInstanceAttributes().GetAttributesRef<FVector3f>(MeshAttribute::VertexInstance::Normal);
}

TMeshAttributesRef<FVertexInstanceID, FVector3f> FSkeletalMeshAttributes::GetVertexInstanceTangents()
{
    return Mesh.VertexInstanceAttributes().GetAttributesRef<FVector3f>(
        MeshAttribute::VertexInstance::Tangent);
}

TMeshAttributesRef<FVertexInstanceID, float> FSkeletalMeshAttributes::GetVertexInstanceBinormalSigns()
{
    return Mesh.VertexInstanceAttributes().GetAttributesRef<float>(
        MeshAttribute::VertexInstance::BinormalSign);
}

TMeshAttributesRef<FVertexInstanceID, FVector2f> FSkeletalMeshAttributes::GetVertexInstanceUVs()
{
    return Mesh.VertexInstanceAttributes().GetAttributesRef<FVector2f>(
        MeshAttribute::VertexInstance::TextureCoordinate);
}

TMeshAttributesRef<FVertexInstanceID, FVector4f> FSkeletalMeshAttributes::GetVertexInstanceColors()
{
    return Mesh.VertexInstanceAttributes().GetAttributesRef<FVector4f>(MeshAttribute::VertexInstance::Color);
}

TMeshAttributesRef<FPolygonGroupID, FName> FSkeletalMeshAttributes::GetPolygonGroupMaterialSlotNames()
{
    return Mesh.PolygonGroupAttributes().GetAttributesRef<FName>(
        MeshAttribute::PolygonGroup::ImportedMaterialSlotName);
}

FSkinWeightsVertexAttributesRef FSkeletalMeshAttributes::GetVertexSkinWeights(FName Profile)
{
    return FSkinWeightsVertexAttributesRef(
        Mesh.VertexAttributes().FindArray<FMeshBoneWeightsArray>(SkinWeightsAttributeName(Profile)));
}

TMeshAttributesRef<FVertexID, FVector3f>
FSkeletalMeshAttributes::GetVertexMorphPositionDelta(FName MorphTarget)
{
    return Mesh.VertexAttributes().GetAttributesRef<FVector3f>(MorphPositionAttributeName(MorphTarget));
}

TMeshAttributesRef<FVertexInstanceID, FVector3f>
FSkeletalMeshAttributes::GetVertexInstanceMorphNormalDelta(FName MorphTarget)
{
    return Mesh.VertexInstanceAttributes().GetAttributesRef<FVector3f>(MorphNormalAttributeName(MorphTarget));
}
