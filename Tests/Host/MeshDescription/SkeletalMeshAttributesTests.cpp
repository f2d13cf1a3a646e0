#include "MeshDescription/MeshAttributes.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/MeshBuilders.h"

#include <gtest/gtest.h>

namespace
{
TArray<FBoneWeight> Influences(std::initializer_list<std::pair<int, int>> BoneAndWeight)
{
    TArray<FBoneWeight> Result;
    for (const auto& [Bone, Weight] : BoneAndWeight)
    {
        Result.Add(FBoneWeight{static_cast<uint16>(Bone), static_cast<uint16>(Weight)});
    }
    return Result;
}

TArray<FBoneWeight> ToArray(std::span<const FBoneWeight> Span)
{
    return TArray<FBoneWeight>(Span.data(), static_cast<int32>(Span.size()));
}
} // namespace

TEST(SkeletalMeshAttributes, RegisterAddsTheStandardAttributesAndKeepsExistingValues)
{
    FMeshDescription Mesh;
    FSkeletalMeshAttributes Attributes(Mesh);
    EXPECT_TRUE(Attributes.GetVertexPositions().IsValid()) << "every description has positions";
    EXPECT_FALSE(Attributes.GetVertexInstanceNormals().IsValid());
    EXPECT_TRUE(Attributes.GetSkinWeightProfileNames().IsEmpty());

    Attributes.Register();
    const FPolygonGroupID Group = Mesh.CreatePolygonGroup();
    Attributes.GetPolygonGroupMaterialSlotNames()[Group] = "Body";
    const FVertexInstanceID Instance = Mesh.CreateVertexInstance(Mesh.CreateVertex());
    EXPECT_EQ(Attributes.GetVertexInstanceBinormalSigns()[Instance], 1.0f);
    EXPECT_EQ(Attributes.GetVertexInstanceColors()[Instance], FVector4f(1, 1, 1, 1));
    EXPECT_EQ(Attributes.GetVertexInstanceUVs().GetNumChannels(), 1);
    EXPECT_EQ(Attributes.GetSkinWeightProfileNames(), TArray<FName>{NAME_None});

    Attributes.Register();
    EXPECT_EQ(Attributes.GetPolygonGroupMaterialSlotNames()[Group], FName("Body"));
    EXPECT_EQ(Mesh.VertexInstanceAttributes().GetAttributeNames().Num(), 5);
}

TEST(SkeletalMeshAttributes, SkinWeightProfilesHoldAnyNumberOfInfluencesPerVertex)
{
    FMeshDescription Mesh = BuildSkinnedGrid({.QuadsX = 1, .QuadsY = 1, .InfluencesPerVertex = 1});
    FSkeletalMeshAttributes Attributes(Mesh);
    EXPECT_TRUE(Attributes.RegisterSkinWeightAttribute("Cloth"));
    EXPECT_FALSE(Attributes.RegisterSkinWeightAttribute("Cloth"));
    EXPECT_EQ(Attributes.GetSkinWeightProfileNames(), (TArray<FName>{NAME_None, "Cloth"}));
    EXPECT_FALSE(Attributes.GetVertexSkinWeights("Missing").IsValid());

    FSkinWeightsVertexAttributesRef Default = Attributes.GetVertexSkinWeights();
    const TArray<FBoneWeight> Five = Influences({{1, 30000}, {2, 20000}, {3, 10000}, {4, 5000}, {5, 535}});
    Default.Set(FVertexID(0), Five);
    Default.Set(FVertexID(1), {});
    Default.Set(FVertexID(2), Influences({{7, 65535}}));
    EXPECT_EQ(ToArray(Default.Get(FVertexID(0))), Five);
    EXPECT_TRUE(Default.Get(FVertexID(1)).empty());
    EXPECT_EQ(ToArray(Default.Get(FVertexID(2))), Influences({{7, 65535}}));
    EXPECT_EQ(ToArray(Default.Get(FVertexID(3))), Influences({{3, 65535}}))
        << "untouched vertex keeps its weight";
    EXPECT_TRUE(Attributes.GetVertexSkinWeights("Cloth").Get(FVertexID(0)).empty());

    const FMeshDescription Copy = Mesh;
    Default.Set(FVertexID(0), Influences({{9, 65535}}));
    EXPECT_EQ(ToArray(FSkeletalMeshAttributesShared(Copy).GetVertexSkinWeights().Get(FVertexID(0))), Five);
}

TEST(SkeletalMeshAttributes, MorphTargetsKeepTheirOrderAndOptionalNormals)
{
    FMeshDescription Mesh = BuildSkinnedGrid({.QuadsX = 1, .QuadsY = 1});
    FSkeletalMeshAttributes Attributes(Mesh);
    EXPECT_TRUE(Attributes.RegisterMorphTargetAttribute("Blink", false));
    EXPECT_TRUE(Attributes.RegisterMorphTargetAttribute("Angry", true));
    EXPECT_FALSE(Attributes.RegisterMorphTargetAttribute("blink", true)) << "names compare without case";
    EXPECT_FALSE(Attributes.RegisterMorphTargetAttribute(NAME_None, false));

    EXPECT_EQ(Attributes.GetMorphTargetNames(), (TArray<FName>{"Blink", "Angry"}));
    EXPECT_FALSE(Attributes.HasMorphTargetNormalsAttribute("Blink"));
    EXPECT_TRUE(Attributes.HasMorphTargetNormalsAttribute("Angry"));
    EXPECT_EQ(Attributes.GetVertexMorphPositionDelta("Angry")[FVertexID(2)], FVector3f(0, 0, 0));

    Attributes.UnregisterMorphTargetAttribute("Angry");
    EXPECT_EQ(Attributes.GetMorphTargetNames(), TArray<FName>{"Blink"});
    EXPECT_FALSE(Attributes.GetVertexInstanceMorphNormalDelta("Angry").IsValid());
}

static_assert(!std::is_constructible_v<FSkeletalMeshAttributesShared, FMeshDescription> &&
                  !std::is_constructible_v<FSkeletalMeshAttributes, FMeshDescription>,
              "the accessors keep a reference to their mesh, so a temporary mesh would leave them dangling");

TEST(SkeletalMeshAttributes, MorphTargetNamesSkipAttributesOfAnotherType)
{
    FMeshDescription Mesh = BuildSkinnedGrid({.QuadsX = 1, .QuadsY = 1, .bMorphTarget = true});
    Mesh.VertexAttributes().RegisterAttribute<float>("MorphTargetPositionDelta-Weight");
    const FSkeletalMeshAttributesShared Attributes(Mesh);
    EXPECT_EQ(Attributes.GetMorphTargetNames(), TArray<FName>{"Smile"})
        << "every name listed must have a position delta to read";
}
