#include "Core/Animation/BoneWeight.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "RivetCli/Render/BitmapFont.h"
#include "RivetCli/Render/PictureSource.h"
#include "RivetCli/Render/RenderPalette.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "Support/TestSkeletalAsset.h"

#include <gtest/gtest.h>

namespace
{
class MeshPictureTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Asset = BuildTestSkeletalAsset({.PackageName = "/Game/Render/Character"}).Mesh;
        ASSERT_TRUE(ConvertLODForPicture(*Asset, 0, Mesh));
        Source.Mesh = &Mesh;
        Source.Asset = Asset;
    }

    FPicture Make(const FRenderColorBy& ColorBy)
    {
        FPicture Picture;
        FString Error;
        EXPECT_TRUE(MakePicture(Source, ColorBy, Picture, Error)) << *Error;
        return Picture;
    }

    static TArray<FString> Labels(const FPicture& Picture)
    {
        TArray<FString> Labels;
        for (const FLegendEntry& Entry : Picture.Legend)
        {
            Labels.Add(Entry.Label);
        }
        return Labels;
    }

    int32 GroupOf(int32 Triangle) const { return Mesh.Attributes()->GetMaterialID()->GetValue(Triangle); }

    FScopedPackageRelease Packages;
    USkeletalMesh* Asset = nullptr;
    FDynamicMesh3 Mesh;
    FPictureSource Source;
};
} // namespace

TEST_F(MeshPictureTest, SlotColoursFollowTheGroupsThroughTheMaterialMapAndTheLegendNamesTheSlotsDrawn)
{
    const FPicture Plain = Make({});
    ASSERT_EQ(Plain.Mesh.TriangleColors.Num(), 48);
    for (int32 Triangle = 0; Triangle < 48; ++Triangle)
    {
        EXPECT_EQ(Plain.Mesh.TriangleColors[Triangle], RenderPalette::SlotColor(GroupOf(Triangle)))
            << Triangle;
    }
    EXPECT_EQ(Labels(Plain), TArray<FString>({"0 Slot_0", "1 Slot_1", "2 Slot_2"}));

    // Section 0 (group 0) now draws with slot 2: slot 0 is drawn by nothing.
    Asset->GetLODInfo(0)->LODMaterialMap = {2, INDEX_NONE, INDEX_NONE};
    const FPicture Redirected = Make({});
    for (int32 Triangle = 0; Triangle < 48; ++Triangle)
    {
        const int32 Slot = GroupOf(Triangle) == 0 ? 2 : GroupOf(Triangle);
        EXPECT_EQ(Redirected.Mesh.TriangleColors[Triangle], RenderPalette::SlotColor(Slot)) << Triangle;
    }
    EXPECT_EQ(Labels(Redirected), TArray<FString>({"1 Slot_1", "2 Slot_2"}));
}

TEST_F(MeshPictureTest, WeightsBonesIslandsAndSelectionsColourWhatTheyName)
{
    const int32 Arm = Asset->GetRefSkeleton().FindBoneIndex("Arm");
    const FDynamicMeshVertexSkinWeightsAttribute& Skin = *Mesh.Attributes()->GetSkinWeightsAttribute();
    const FPicture Weights = Make({ERenderColoring::Weights, "Arm"});
    const FPicture Bone = Make({ERenderColoring::Bone, "Arm"});
    int32 Weighted = 0;
    for (const int32 Vertex : Mesh.VertexIndices())
    {
        double Weight = 0.0;
        for (const FBoneWeight& Influence : Skin.GetValue(Vertex))
        {
            Weight += Influence.BoneIndex == Arm ? Influence.GetWeight() : 0.0;
        }
        EXPECT_EQ(Weights.Mesh.VertexColors[Vertex], RenderPalette::HeatColor(Weight));
        Weighted += Weight > 0.0;
    }
    EXPECT_GT(Weighted, 0);
    EXPECT_EQ(Labels(Weights), TArray<FString>({"weights of Arm, 0 to 1"}));
    EXPECT_EQ(Labels(Bone), TArray<FString>({"weighted to Arm"}));
    EXPECT_EQ(Labels(Make({ERenderColoring::Island, ""})), TArray<FString>({"1 island(s)"}));

    Source.Selected = {3, 3, 5, 999};
    const FPicture Selected = Make({});
    EXPECT_EQ(Selected.Mesh.Highlighted[3] + Selected.Mesh.Highlighted[5], 2);
    EXPECT_EQ(Selected.Legend.Last().Label, "selected (2)");

    FPicture Unused;
    FString Error;
    EXPECT_FALSE(MakePicture(Source, {ERenderColoring::Weights, "Nope"}, Unused, Error));
    EXPECT_EQ(Error, "no bone 'Nope'");
}

TEST_F(MeshPictureTest, BoneEditsPoseTheMeshByItsWeights)
{
    Source.BoneEdits = {{.Bone = "Root", .Rotation = FRotator(0, 180, 0), .Scale = FVector(2, 2, 2)}};
    const FPicture Posed = Make({});
    for (const int32 Vertex : Mesh.VertexIndices())
    {
        const FVector Rest = Mesh.GetVertex(Vertex);
        EXPECT_TRUE(Posed.Mesh.Positions[Vertex].Equals(FVector(-2 * Rest.X, -2 * Rest.Y, 2 * Rest.Z), 1e-6))
            << Vertex;
    }
    Source.BoneEdits = {{.Bone = "Nope"}};
    FPicture Unused;
    FString Error;
    EXPECT_FALSE(MakePicture(Source, {}, Unused, Error));
    EXPECT_EQ(Error, "no bone 'Nope'");
}

TEST(BitmapFontTest, MeasuresOneCellPerCharacterAndDrawsInsideIt)
{
    EXPECT_EQ(BitmapFont::MeasureText("ab 1", 2), 4 * 6 * 2);
    EXPECT_EQ(BitmapFont::MeasureText("a\xe2\x80\x94z", 1), 3 * 6) << "an em dash is one character";

    FRenderImage Image(20, 12, RenderPalette::Background);
    BitmapFont::DrawText(Image, 1, 1, "H?", RenderPalette::Text, 1);
    int32 Ink = 0;
    for (int32 Y = 0; Y < 12; ++Y)
    {
        for (int32 X = 0; X < 20; ++X)
        {
            const bool bInk = Image.Get(X, Y) == RenderPalette::Text;
            Ink += bInk;
            EXPECT_TRUE(!bInk || (X >= 1 && X < 13 && Y >= 2 && Y < 9)) << X << "," << Y;
        }
    }
    EXPECT_GT(Ink, 20);
}
