#include "MaterialSlotExpectations.h"

#include "RivetEditor/Private/Ops/RivetMaterialSlotOp.h"
#include "RivetEditorLog.h"
#include "Support/AssetNames.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "Support/ToolMessageExpectations.h"

#include <gtest/gtest.h>

namespace
{
const FName LogCategory = LogRivetEditor.GetCategoryName();
const char* const InconsistentText =
    "This mesh has 1 geometry group(s) with no matching material slot, so cleaning up would guess at the "
    "result. "
    "Nothing was changed. Reimport the mesh to rebuild its material bindings.";

/** The test character: 48 LOD 0 triangles in three slots (groups 0-2, 16 triangles each). */
class MergeSlotsOpTest : public FSlotOpTest
{
protected:
    void SetUp() override { Build({.PackageName = "/Game/Slots/Merge"}); }

    FRivetMergeSlotsResult Merge(int32 Source, int32 Target)
    {
        return MergeMaterialSlots(Mesh, FRivetMergeSlotsParams{Source, Target, true});
    }

    template <typename ResultType>
    void ExpectRefusal(const ResultType& Result, const char* Key, const FString& Text,
                       const FSkeletalMeshSnapshot& Before)
    {
        EXPECT_FALSE(Result.bSuccess);
        ExpectText(Result.Message, "RivetMergeSlotsOp", Key, Text);
        EXPECT_EQ(Result.SlotsRemaining, 0);
        EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    }
};

// That one undo restores the mesh exactly is the random edits' test, for every slot edit.
TEST_F(MergeSlotsOpTest, MergingMovesTheSlotsPolygonsAndRenumbers)
{
    Build({.PackageName = "/Game/Slots/MergeFour", .QuadsX = 8, .NumSlots = 4});
    TArray<const UMaterial*> Expected = MaterialPerTriangle(*Mesh);
    for (const int32 Triangle : TrianglesOfGroup(*Mesh, 1))
    {
        Expected[Triangle] = MaterialOf(3);
    }

    const FRivetMergeSlotsResult Result = Merge(1, 3);

    ASSERT_TRUE(Result.bSuccess) << *Result.Message.ToString();
    EXPECT_EQ(Result.PolygonsMoved, 16);
    EXPECT_EQ(Result.SlotsRemoved, 1);
    EXPECT_EQ(Result.SlotsRemaining, 3);
    EXPECT_EQ(Result.NewTargetSlot, 2) << "found by its imported name";
    EXPECT_EQ(MaterialPerTriangle(*Mesh), Expected);
    ExpectCleanBinding(*Mesh);
    EXPECT_EQ(Log.FindLines(LogCategory).Last().Message,
              "[RivetEditor] Cleanup: 1 slots removed, 3 remaining");
}

TEST_F(MergeSlotsOpTest, TheGroupThatDrawsTheSlotMovesNotAnEmptyOneBoundByIndex)
{
    // Group 1 is empty and bound to slot 1 by its index; group 2 draws with slot 1 through the map.
    MoveGroup(1, 2);
    SetMap({INDEX_NONE, 1});
    ASSERT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{16, 32, 0}));

    const FRivetMergeSlotsResult Result = Merge(1, 0);

    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.PolygonsMoved, 32);
    EXPECT_EQ(SlotNames(*Mesh), TArray<FName>{"Slot_0"});
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{48}));
}

TEST_F(MergeSlotsOpTest, AnEmptySourceMovesNothingAndTheCleanupStillRuns)
{
    Mesh->GetMaterials().Add(FSkeletalMaterial(nullptr, FName("Spare"), FName("Spare")));
    const FGuid Key = Mesh->GetDerivedDataKey();

    const FRivetMergeSlotsResult Result = Merge(3, 0);

    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.PolygonsMoved, 0);
    EXPECT_EQ(Result.SlotsRemoved, 1);
    EXPECT_EQ(Result.NewTargetSlot, 0);
    EXPECT_NE(Mesh->GetDerivedDataKey(), Key) << "committed";
}

TEST_F(MergeSlotsOpTest, SlotsDrawnByTwoGroupsKeepACopyForTheOneThatStays)
{
    SetMap({INDEX_NONE, INDEX_NONE, 1});
    const FRivetMergeSlotsResult Result = Merge(1, 0);

    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.PolygonsMoved, 16);
    EXPECT_EQ(SlotNames(*Mesh), (TArray<FName>{"Slot_0", "Slot_1"})) << "group 2's copy, at its new index";
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{32, 16}));
}

TEST_F(MergeSlotsOpTest, RefusalsLeaveTheMeshAsItWas)
{
    const FSkeletalMeshSnapshot Before(*Mesh);
    ExpectRefusal(MergeMaterialSlots(nullptr, {0, 1, true}), "NoMesh", "No skeletal mesh.", Before);
    ExpectRefusal(Merge(7, 7), "SameSlot", "Pick a different slot to merge into.", Before);
    ExpectRefusal(Merge(0, 3), "BadSlot", "That material slot no longer exists.", Before);
    ExpectRefusal(Merge(-1, 0), "BadSlot", "That material slot no longer exists.", Before);

    Mesh->GetMaterials().Add(FSkeletalMaterial(nullptr, FName("Spare"), FName("Spare")));
    const FSkeletalMeshSnapshot WithSpare(*Mesh);
    ExpectRefusal(Merge(1, 3), "NoTargetGroup", "The target slot has no geometry group to merge into.",
                  WithSpare);
    EXPECT_EQ(Log.CountLines(LogCategory), 0);

    Mesh->ClearMeshDescription(0);
    const FSkeletalMeshSnapshot Cleared(*Mesh);
    ExpectRefusal(Merge(0, 1), "NoMeshDescription", "This mesh has no editable source geometry.", Cleared);
}

TEST_F(MergeSlotsOpTest, AMergeWhoseCleanupWouldRefuseChangesNothing)
{
    // Group 2 draws with slot 7, which does not exist: the cleanup after the merge could not rebuild.
    SetMap({INDEX_NONE, INDEX_NONE, 7});
    const FSkeletalMeshSnapshot Before(*Mesh);

    const FRivetMergeSlotsResult Result = Merge(1, 0);

    ExpectRefusal(Result, "InconsistentBindings", InconsistentText, Before);
    EXPECT_EQ(Result.PolygonsMoved, 0);
    const FLogLine Line = Log.FindLines(LogCategory).Last();
    EXPECT_EQ(Line.Verbosity, ELogVerbosity::Warning);
    EXPECT_EQ(Line.Message,
              "[RivetEditor] Cleanup aborted: 1 groups have no material found (groups=3, materials=3)");
}

TEST_F(MergeSlotsOpTest, TheCleanupKeepsEachUsedGroupsMaterial)
{
    const auto ExpectCleanup =
        [this](const char* Name, const auto& Prepare, int32 SlotsRemoved, const TArray<FName>& Names)
    {
        SCOPED_TRACE(Name);
        SetUp();
        Prepare();
        const TArray<const UMaterial*> Expected = MaterialPerTriangle(*Mesh);

        const FRivetSlotCleanupResult Result = RemoveUnusedMaterialSlots(Mesh, true);

        ASSERT_TRUE(Result.bSuccess);
        EXPECT_EQ(Result.SlotsRemoved, SlotsRemoved);
        EXPECT_EQ(Result.SlotsRemaining, Names.Num());
        EXPECT_EQ(SlotNames(*Mesh), Names);
        EXPECT_EQ(MaterialPerTriangle(*Mesh), Expected);
        ExpectCleanBinding(*Mesh);
        EXPECT_TRUE(Mesh->HasValidRenderData());
    };
    ExpectCleanup("a surplus slot goes",
                  [this]
                  { Mesh->GetMaterials().Add(FSkeletalMaterial(nullptr, FName("Spare"), FName("Spare"))); },
                  1, {"Slot_0", "Slot_1", "Slot_2"});
    ExpectCleanup("an empty group goes with its slot", [this] { MoveGroup(1, 0); }, 1, {"Slot_0", "Slot_2"});
    ExpectCleanup("the map's slots are copied to their groups",
                  [this]
                  {
                      MoveGroup(2, 0);
                      SetMap({2, 0});
                  },
                  1, {"Slot_2", "Slot_0"});
    ExpectCleanup("two groups of one slot get a copy each, the slot they left goes",
                  [this] {
                      SetMap({1, 1});
                  },
                  0, {"Slot_1", "Slot_1", "Slot_2"});
    ExpectCleanup("unnamed slots take their group's name, or a made one",
                  [this]
                  {
                      Mesh->GetMaterials()[0].ImportedMaterialSlotName = NAME_None;
                      Mesh->GetMaterials()[1].ImportedMaterialSlotName = NAME_None;
                      FSkeletalMeshAttributes(LOD0()).GetPolygonGroupMaterialSlotNames()[FPolygonGroupID(1)] =
                          NAME_None;
                      Mesh->GetMaterials().Add(FSkeletalMaterial());
                  },
                  1, {"Slot_0", "Material_1", "Slot_2"});
}

TEST_F(MergeSlotsOpTest, ACleanAssetIsLeftAloneEvenWithAMap)
{
    SetMap({1, 0, 2});
    const FSkeletalMeshSnapshot Before(*Mesh);

    const FRivetSlotCleanupResult Result = RemoveUnusedMaterialSlots(Mesh, true);

    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.SlotsRemoved, 0);
    EXPECT_EQ(Result.SlotsRemaining, 3);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_EQ(Log.CountLines(LogCategory), 0);
}

TEST_F(MergeSlotsOpTest, TheCleanupRefusesBindingsItCannotHonour)
{
    Mesh->GetMaterials().SetNum(2);
    FSkeletalMeshSnapshot Before(*Mesh);
    ExpectRefusal(
        RemoveUnusedMaterialSlots(Mesh, true), "WouldAddSlots",
        "This mesh uses 3 geometry groups but has only 2 material slots, so cleaning up would add slots "
        "instead of removing them. Nothing was changed. Reimport the mesh to rebuild its material "
        "bindings.",
        Before);
    EXPECT_EQ(Log.FindLines(LogCategory).Last().Message,
              "[RivetEditor] Cleanup aborted: 3 groups > 2 materials");

    Mesh->GetMaterials().SetNum(3);
    SetMap({INDEX_NONE, 5});
    Before = FSkeletalMeshSnapshot(*Mesh);
    ExpectRefusal(RemoveUnusedMaterialSlots(Mesh, true), "InconsistentBindings", InconsistentText, Before);

    for (const FTriangleID Triangle : AllTriangles(LOD0()))
    {
        LOD0().DeleteTriangle(Triangle);
    }
    Before = FSkeletalMeshSnapshot(*Mesh);
    ExpectRefusal(RemoveUnusedMaterialSlots(Mesh, true), "NoTriangles", "This mesh has no triangles.",
                  Before);
    ExpectRefusal(RemoveUnusedMaterialSlots(nullptr, true), "NoMesh", "No skeletal mesh.", Before);
}

TEST_F(MergeSlotsOpTest, SlotsThatOnlyOtherLODsDrawWithStayAndTheirMapsFollow)
{
    // LOD 0 draws with slots 0 and 2 (group 1 is empty), LOD 1's sections with slots 1, 2 and 2; slot 3 is
    // spare.
    Build({.PackageName = "/Game/Slots/TwoLODs", .NumLODs = 2});
    MoveGroup(1, 0);
    Mesh->GetLODInfo(1)->LODMaterialMap = {1, 2, 2};
    const FSkeletalMeshSnapshot Clean(*Mesh);
    ASSERT_TRUE(RemoveUnusedMaterialSlots(Mesh, true).bSuccess);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Clean) << "slot 1 has its group: nothing to do";

    Mesh->GetMaterials().Add(FSkeletalMaterial(nullptr, FName("Spare"), FName("Spare")));
    const FSkeletalMeshSnapshot Before(*Mesh);
    const TArray<const UMaterial*> LOD0Materials = MaterialPerTriangle(*Mesh);
    const TArray<const UMaterial*> LOD1Materials = MaterialPerSection(*Mesh, 1);

    const FRivetSlotCleanupResult Result = RemoveUnusedMaterialSlots(Mesh, true);

    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.SlotsRemoved, 1);
    ASSERT_EQ(Result.SlotsRemaining, 3);
    EXPECT_EQ(Mesh->GetMaterials()[2].MaterialSlotName, FName("Slot_1")) << "after the groups' slots";
    EXPECT_EQ(CountTrianglesPerGroup(LOD0()), (TArray<int32>{32, 16, 0})) << "with a group of its own";
    EXPECT_EQ(MaterialPerTriangle(*Mesh), LOD0Materials);
    EXPECT_EQ(MaterialPerSection(*Mesh, 1), LOD1Materials);
    EXPECT_EQ(Mesh->GetLODInfo(1)->LODMaterialMap, (TArray<int32>{2, 1, 1}));
    EXPECT_TRUE(*Mesh->GetMeshDescription(1) == *Before.Descriptions[1]) << "LOD 1 geometry is not touched";
    ExpectCleanBinding(*Mesh);

    // Merging LOD 0's last two slots keeps LOD 1 drawing as it did, and a new slot pairs with a new group.
    ASSERT_TRUE(Merge(1, 0).bSuccess);
    EXPECT_EQ(MaterialPerSection(*Mesh, 1), LOD1Materials);
    ExpectCleanBinding(*Mesh);
    EXPECT_EQ(AssignToNewSlot(Mesh, {.TriangleIDs = {0}}).NewSlotIndex, 3);
}
} // namespace
