#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"

#include "DynamicMesh3TestAccess.h"
#include "MeshComparison.h"
#include "MeshTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
const FBoneWeight ThreeInfluences[] = {{0, 30000}, {4, 20000}, {7, 15535}};
const FBoneWeight OneInfluence[] = {{2, FBoneWeight::MaxRawWeight}};

bool HasWeights(const FDynamicMeshVertexSkinWeightsAttribute& Skin, int32 VertexID,
                std::span<const FBoneWeight> Expected)
{
    return std::ranges::equal(Skin.GetValue(VertexID), Expected);
}

/** Material IDs that note what the mesh still shows of each vertex it says it removes. */
class FVertexRemovalProbe : public FDynamicMeshMaterialAttribute
{
public:
    using FDynamicMeshMaterialAttribute::FDynamicMeshMaterialAttribute;

    TArray<int32> Removed;
    TArray<FVector> PositionsSeen;

protected:
    void OnRemoveVertex(int32 VertexID) override
    {
        if (GetParentMesh()->IsVertex(VertexID))
        {
            Removed.Add(VertexID);
            PositionsSeen.Add(GetParentMesh()->GetVertex(VertexID));
        }
    }
};

/** The attributed 2 by 1 grid with a second UV layer and two material groups. */
FDynamicMesh3 MakeAttributedGrid()
{
    FDynamicMesh3 Mesh = MakeAttributedGridMesh(2, 1);
    FDynamicMeshAttributeSet& Attributes = *Mesh.Attributes();
    Attributes.SetNumUVLayers(2);
    SetUVIsland(*Attributes.GetUVLayer(1), Mesh, {0, 1, 2, 3});
    Attributes.MaterialGroups().Add({0, "Body"});
    Attributes.MaterialGroups().Add({1, "Unused"});
    return Mesh;
}
} // namespace

TEST(DynamicMeshAttributeSet, EveryAttributeFollowsTheMeshEdits)
{
    FDynamicMesh3 Mesh = MakeAttributedGrid();
    const FDynamicMeshAttributeSet& Attributes = *Mesh.Attributes();
    EXPECT_TRUE(IsValidMesh(Mesh));

    const int32 Apex = Mesh.AppendVertex(FVector(3.0, 0.5, 0.0));
    const int32 Added = Mesh.AppendTriangle({5, 2, Apex});
    Mesh.RemoveTriangle(0);
    Mesh.RemoveTriangle(2, false);
    EXPECT_TRUE(IsValidMesh(Mesh)) << "every overlay and attribute followed the edits";
    EXPECT_FALSE(Attributes.GetUVLayer(1)->IsSetTriangle(Added));
    EXPECT_TRUE(Attributes.GetSkinWeightsAttribute("Cloth")->GetValue(Apex).empty());

    Mesh.Attributes()->SetNumUVLayers(1);
    EXPECT_TRUE(IsValidMesh(Mesh));
    Mesh.DiscardAttributes();
    EXPECT_FALSE(Mesh.HasAttributes());
}

TEST(DynamicMeshAttributeSet, AVertexCanStillBeReadWhenItsRemovalIsReported)
{
    FDynamicMesh3 Mesh = MakeGridMesh(1, 1);
    Mesh.EnableAttributes();
    auto Owned = std::make_unique<FVertexRemovalProbe>(&Mesh);
    FVertexRemovalProbe& Probe = *Owned;
    FDynamicMesh3TestAccess::ReplaceMaterialIDs(*Mesh.Attributes(), std::move(Owned));
    Mesh.RemoveTriangle(1, false);
    EXPECT_TRUE(Probe.Removed.IsEmpty()) << "vertices kept on request";
    Mesh.RemoveTriangle(0);
    EXPECT_EQ(Probe.Removed, (TArray<int32>{0, 1, 3})) << "each as a live vertex";
    EXPECT_EQ(Probe.PositionsSeen,
              (TArray<FVector>{FVector(0.0, 0.0, 0.0), FVector(1.0, 0.0, 0.0), FVector(1.0, 1.0, 0.0)}));
    EXPECT_EQ(Mesh.VertexCount(), 1);
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(DynamicMeshAttributeSet, MaterialBoundariesSeparateMaterials)
{
    FDynamicMesh3 Mesh = MakeGridMesh(2, 1);
    Mesh.EnableAttributes();
    FDynamicMeshAttributeSet& Attributes = *Mesh.Attributes();
    const int32 Middle = Mesh.FindEdge(1, 4);
    EXPECT_FALSE(Attributes.IsMaterialBoundaryEdge(Middle)) << "no material IDs yet";
    Attributes.EnableMaterialID();
    Attributes.GetMaterialID()->SetValue(2, 1);
    Attributes.GetMaterialID()->SetValue(3, 1);
    for (const int32 EdgeID : Mesh.EdgeIndices())
    {
        EXPECT_EQ(Attributes.IsMaterialBoundaryEdge(EdgeID), EdgeID == Middle);
        EXPECT_EQ(Attributes.IsAttributeBoundaryEdge(EdgeID), EdgeID == Middle);
        EXPECT_FALSE(Attributes.IsSeamEdge(EdgeID));
    }
}

TEST(DynamicMeshAttributeSet, SkinWeightProfilesHoldAnyNumberOfInfluencesAndMorphTargetsKeepAttachOrder)
{
    FDynamicMesh3 Mesh = MakeGridMesh(1, 1);
    Mesh.EnableAttributes();
    FDynamicMeshAttributeSet& Attributes = *Mesh.Attributes();
    FDynamicMeshVertexSkinWeightsAttribute& Skin = *Attributes.AttachSkinWeightsAttribute();
    EXPECT_EQ(Attributes.AttachSkinWeightsAttribute(NAME_None), &Skin) << "attaching again keeps it";
    Skin.SetValue(0, ThreeInfluences);
    Skin.SetValue(1, OneInfluence);
    EXPECT_TRUE(HasWeights(Skin, 0, ThreeInfluences));
    EXPECT_TRUE(HasWeights(Skin, 1, OneInfluence));
    EXPECT_TRUE(Skin.GetValue(2).empty());
    Skin.SetValue(1, Skin.GetValue(0));
    EXPECT_TRUE(HasWeights(Skin, 1, ThreeInfluences)) << "copied from a row of the same pool";
    EXPECT_TRUE(HasWeights(Skin, 0, ThreeInfluences));

    Attributes.AttachSkinWeightsAttribute("Cloth");
    EXPECT_EQ(Attributes.GetSkinWeightsProfiles(), (TArray<FName>{NAME_None, "Cloth"}));
    EXPECT_EQ(Attributes.GetSkinWeightsAttribute("Cloth")->GetValue(0).size(), 0u);
    EXPECT_EQ(Attributes.GetSkinWeightsAttribute("Muscle"), nullptr);

    FDynamicMeshMorphTargetAttribute* Smile = Attributes.AttachMorphTargetAttribute("Smile");
    Attributes.AttachMorphTargetAttribute("Blink");
    EXPECT_EQ(Attributes.GetMorphTargetNames(), (TArray<FName>{"Smile", "Blink"}));
    Smile->SetValue(2, FVector3f(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(Attributes.GetMorphTargetAttribute("SMILE")->GetValue(2), FVector3f(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(Smile->GetValue(3), FVector3f());
    EXPECT_EQ(Attributes.GetMorphTargetAttribute("Frown"), nullptr);
    EXPECT_TRUE(Attributes.RemoveMorphTargetAttribute("Smile"));
    EXPECT_FALSE(Attributes.RemoveMorphTargetAttribute("Smile"));
    EXPECT_EQ(Attributes.GetMorphTargetNames(), (TArray<FName>{"Blink"}));
    EXPECT_TRUE(IsValidMesh(Mesh));
}

TEST(DynamicMeshAttributeSet, CopiesOwnTheirAttributes)
{
    const FDynamicMesh3 Original = MakeAttributedGrid();
    FDynamicMesh3 Copy = Original;
    ASSERT_TRUE(Copy.HasAttributes());
    FDynamicMeshAttributeSet& Copied = *Copy.Attributes();
    EXPECT_EQ(Copied.GetParentMesh(), &Copy);
    EXPECT_TRUE(IsSameMesh(Copy, Original)) << "every attribute with its elements and their IDs";

    Copy.RemoveTriangle(0);
    Copied.GetSkinWeightsAttribute()->SetValue(3, OneInfluence);
    Copied.GetMorphTargetAttribute("Smile")->SetValue(3, FVector3f());
    Copied.MaterialGroups().Reset();
    EXPECT_TRUE(IsSameMesh(Original, MakeAttributedGrid())) << "the original keeps what it had";
    EXPECT_TRUE(IsValidMesh(Copy));

    FDynamicMesh3 Moved = std::move(Copy);
    EXPECT_FALSE(Copy.HasAttributes());
    EXPECT_EQ(Copy.MaxVertexID() + Copy.MaxTriangleID(), 0) << "a moved-from mesh is empty";
    EXPECT_EQ(Moved.Attributes()->GetParentMesh(), &Moved);
    EXPECT_TRUE(IsValidMesh(Moved));
    Moved = MakeGridMesh(1, 1);
    EXPECT_FALSE(Moved.HasAttributes());
}
