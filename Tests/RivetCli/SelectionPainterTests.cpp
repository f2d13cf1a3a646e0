#include "RivetCli/Selection/SelectionPainter.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/Selections/TriangleSelectionOps.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "RivetEditorModuleName.h"
#include "Support/TestSkeletalAsset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

namespace
{
using FTermTexts = std::initializer_list<const char*>;

TArray<FSelectionTerm> ParseAll(FTermTexts Texts)
{
    TArray<FSelectionTerm> Terms;
    for (const char* Text : Texts)
    {
        FString Error;
        VT_CHECKF(ParseSelectionTerm(Text, Terms.Emplace_GetRef(), Error), "%s", *Error);
    }
    return Terms;
}

TArray<int32> Sorted(TArray<int32> Triangles)
{
    std::sort(Triangles.begin(), Triangles.end());
    return Triangles;
}

/** The test character (a 6 x 4 grid of 48 triangles, slots as bands of two columns) in Delete Polygons. */
class SelectionPainterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Cli/PaintTarget"}).Mesh;
        Editor.OpenAsset(Mesh);
    }

    void Start()
    {
        Editor.StartTool("Delete Polygons");
        Tool = Editor.GetSelectionTool();
        VT_CHECKF(Tool != nullptr, "the mode did not start the Delete Polygons tool");
    }

    /** Paints the terms and returns the selection after them. */
    TArray<int32> Paint(FTermTexts Texts)
    {
        FString Error;
        EXPECT_TRUE(PaintSelection(Editor, ParseAll(Texts), Error)) << *Error;
        EXPECT_FALSE(Tool->HasPendingAction());
        return Selected();
    }

    /** Expects the terms to be refused with the message, the selection untouched. */
    void ExpectRefused(FTermTexts Texts, const FString& Message)
    {
        const TArray<int32> Before = Selected();
        const int32 Revision = Tool ? Tool->GetSelection()->GetRevision() : 0;
        FString Error;
        EXPECT_FALSE(PaintSelection(Editor, ParseAll(Texts), Error));
        EXPECT_EQ(Error, Message);
        EXPECT_EQ(Selected(), Before);
        EXPECT_EQ(Tool ? Tool->GetSelection()->GetRevision() : 0, Revision);
    }

    void RunToolAction(EMeshSelectionToolActions Action)
    {
        Tool->RequestAction(Action);
        Editor.Tick();
    }

    TArray<int32> Selected() const
    {
        return Tool ? Tool->GetSelection()->GetElements(EMeshSelectionElementType::Face) : TArray<int32>();
    }
    const FDynamicMesh3& Preview() const { return *Tool->GetPreviewMesh()->GetMesh(); }
    /** The preview's triangles whose centroid passes the test, in ID order. */
    template <typename PredicateType>
    TArray<int32> TrianglesWhere(const PredicateType& Predicate) const
    {
        return TriangleSelectionOps::SelectAll(Preview()).FilterByPredicate(
            [&](int32 Triangle) { return Predicate(Preview().GetTriCentroid(Triangle)); });
    }

    FHeadlessEditor Editor{{RivetEditorModuleName}};
    USkeletalMesh* Mesh = nullptr;
    UMeshSelectionTool* Tool = nullptr;
};
} // namespace

TEST_F(SelectionPainterTest, SlotSelectsTheTrianglesDrawnWithItThroughTheMapByNameOrIndexAndBoxByCentroid)
{
    Start();
    const TArray<int32> Slot1 = Paint({"slot:Slot_1"});
    EXPECT_EQ(Sorted(Slot1), TrianglesWhere([](const FVector& C) { return C.X > 2.0 && C.X < 4.0; }));
    EXPECT_EQ(Paint({"-all", "slot:1"}), Slot1);
    EXPECT_EQ(Paint({"-all", "SLOT:slot_1"}), Slot1);

    // A box selects by centroid, bounds included, corners in any order.
    // The grid is flat at Z = 0: only inclusive bounds take in a box of no depth.
    const TArray<int32> Box = Paint({"-all", "box:2,4,0,0,0,0"});
    EXPECT_EQ(Box.Num(), 16);
    EXPECT_EQ(Paint({"-all", "slot:Slot_0"}), Box);
    EXPECT_TRUE(Paint({"-all", "box:0,0,0.01,6,4,1"}).IsEmpty());

    // Slots follow LOD 0's material map: section 0 draws with slot 2, so nothing draws with slot 0.
    Mesh->GetLODInfo(0)->LODMaterialMap = {2, INDEX_NONE, INDEX_NONE};
    EXPECT_TRUE(Paint({"-all", "slot:Slot_0"}).IsEmpty());
    EXPECT_EQ(Sorted(Paint({"slot:Slot_2"})),
              TrianglesWhere([](const FVector& C) { return C.X < 2.0 || C.X > 4.0; }));
}

TEST_F(SelectionPainterTest, BoneSelectsTrianglesWithACornerWeightedAtLeastTheMinimum)
{
    Start();
    // The head weighs a quarter (just under, in raw weights) on the vertices of the top two rows.
    const TArray<int32> Head = Paint({"bone:head"});
    EXPECT_EQ(Sorted(Head), TrianglesWhere([](const FVector& C) { return C.Y > 2.0; }));
    EXPECT_EQ(Paint({"-all", "bone:Head:0.2"}), Head);
    EXPECT_TRUE(Paint({"-all", "bone:Head:0.3"}).IsEmpty());
    EXPECT_TRUE(Paint({"bone:Root"}).IsEmpty());
}

TEST_F(SelectionPainterTest, RegionsAndTriangleListsAddAndRemoveInTheOrderGiven)
{
    Start();
    EXPECT_EQ(Sorted(Paint({"all", "-slot:Slot_1", "-bone:Head"})),
              TrianglesWhere([](const FVector& C) { return C.Y < 2.0 && (C.X < 2.0 || C.X > 4.0); }));
    EXPECT_EQ(Paint({"-all", "-bone:Head", "slot:Slot_1"}).Num(), 16);

    // Triangle lists keep their order and skip repeats.
    EXPECT_EQ(Paint({"-all", "tris:5,1-3,2", "tris:3,9"}), (TArray<int32>{5, 1, 2, 3, 9}));
    EXPECT_EQ(Paint({"-tris:1-2", "tris:1"}), (TArray<int32>{5, 3, 9, 1}));
}

TEST_F(SelectionPainterTest, ModifiersActAsTheToolsButtons)
{
    Start();
    const TArray<int32> Slot0 = Paint({"slot:Slot_0"});
    const TArray<int32> Grown = Paint({"grow"});
    EXPECT_EQ(Grown, TriangleSelectionOps::Grow(Preview(), Slot0));
    EXPECT_GT(Grown.Num(), Slot0.Num());
    EXPECT_EQ(Paint({"shrink"}), TriangleSelectionOps::Shrink(Preview(), Grown));

    const TArray<int32> Head = Paint({"-all", "bone:Head"});
    const TArray<int32> NotHead = Paint({"invert"});
    EXPECT_EQ(NotHead, TriangleSelectionOps::Invert(Preview(), Head));
    EXPECT_EQ(NotHead.Num(), 24);

    EXPECT_EQ(Paint({"all"}), TriangleSelectionOps::SelectAll(Preview()));
    EXPECT_TRUE(Paint({"-all"}).IsEmpty());
}

TEST_F(SelectionPainterTest, IslandFollowsSharedEdgesOnly)
{
    Start();
    EXPECT_EQ(Paint({"island:0"}).Num(), 48);

    const TArray<int32> Slot0 = Paint({"-all", "slot:Slot_0"});
    RunToolAction(EMeshSelectionToolActions::Disconnect);
    EXPECT_EQ(Sorted(Paint({"-all", "island:0"})), Sorted(Slot0));
    const TArray<int32> Rest = Paint({"-all", "island:47"});
    EXPECT_EQ(Rest.Num(), 32);
    EXPECT_EQ(Sorted(Paint({"all", "-island:47"})), Sorted(Slot0));
}

TEST_F(SelectionPainterTest, RefusesUnknownNamesAndTrianglesChangingNothing)
{
    Start();
    Paint({"tris:7"});
    ExpectRefused({"tris:1", "slot:Eyes"}, "no material slot 'Eyes' (slots: Slot_0, Slot_1, Slot_2)");
    ExpectRefused({"grow", "slot:3"}, "no material slot 3 (slots: Slot_0, Slot_1, Slot_2)");
    ExpectRefused({"all", "bone:Tail"}, "no bone 'Tail'");
    ExpectRefused({"-all", "tris:40-99"}, "triangle 48 is not a triangle of the preview mesh (0-47)");
    ExpectRefused({"invert", "island:99"}, "triangle 99 is not a triangle of the preview mesh (0-47)");
    const char* const UseHostBox =
        "; use box: with the host's coordinates (rivet info prints the bounds in both)";
    ExpectRefused({"box@file:0,0,0,1,1,1"},
                  FString("box@file: the file's axes are unknown: the asset has no source file") +
                      UseHostBox);
    Mesh->SetSourceFile(NewObject<UAssetSourceFile>(Mesh));
    ExpectRefused({"box@file:0,0,0,1,1,1"}, FString("box@file: the file's axes are unknown") + UseHostBox);

    Paint({"-all", "tris:3"});
    RunToolAction(EMeshSelectionToolActions::Delete);
    ExpectRefused({"tris:2-4"}, "triangle 3 is not a triangle of the preview mesh (0-47)");
    ExpectRefused({"island:3"}, "triangle 3 is not a triangle of the preview mesh (0-47)");
}

TEST_F(SelectionPainterTest, RefusesWithoutASelectionToolReadyToPaint)
{
    ExpectRefused({"all"}, "no selection tool is active");

    Start();
    Paint({"tris:7"});
    Tool->RequestAction(EMeshSelectionToolActions::InvertSelection);
    ExpectRefused({"tris:1"}, "the selection tool has an action waiting for the next tick");
    EXPECT_TRUE(Tool->HasPendingAction());
}
