#include "MaterialSlotExpectations.h"

#include "CoreUObject/Object/Package.h"
#include "RivetEditor/Private/Ops/RivetMaterialSlotOp.h"
#include "RivetEditorLog.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "Support/ToolMessageExpectations.h"

#include <gtest/gtest.h>

namespace
{
const FName LogCategory = LogRivetEditor.GetCategoryName();

/**
 * The test character: LOD 0 a 6 x 4 grid whose quads (x, y) are triangles 2 (6y + x) and 2 (6y + x) + 1,
 * in three slots of two columns (triangles 0-3 draw with slot 0, 4-7 with slot 1, 8-11 with slot 2, and
 * so on row by row).
 */
class MaterialSlotOpTest : public FSlotOpTest
{
protected:
    void SetUp() override { Build({.PackageName = "/Game/Slots/Assign"}); }

    FRivetMaterialSlotResult AssignNew(TArray<int32> Triangles, const char* Name = "Face")
    {
        return AssignToNewSlot(Mesh, {.SlotName = FName(Name), .TriangleIDs = std::move(Triangles)});
    }

    /** The new slot is drawn by the group of its index, named alike, and holds the moved triangles. */
    void ExpectNewSlot(const FRivetMaterialSlotResult& Result, const TArray<int32>& Moved)
    {
        ASSERT_TRUE(Result.bSuccess) << *Result.Message.ToString();
        EXPECT_EQ(Result.NewSlotIndex, Result.NewPolygonGroupIndex);
        const FSkeletalMaterial& Slot = Mesh->GetMaterials()[Result.NewSlotIndex];
        const FName GroupName =
            FSkeletalMeshAttributesShared(LOD0())
                .GetPolygonGroupMaterialSlotNames()[FPolygonGroupID(Result.NewPolygonGroupIndex)];
        EXPECT_EQ(Slot.MaterialSlotName, Result.SlotName);
        EXPECT_EQ(Slot.ImportedMaterialSlotName, Result.SlotName);
        EXPECT_EQ(GroupName, Result.SlotName);
        const TArray<int32> GroupToSlot = BuildGroupToSlotMap(Mesh);
        for (const int32 Triangle : Moved)
        {
            const int32 Group = LOD0().GetTrianglePolygonGroup(FTriangleID(Triangle)).GetValue();
            EXPECT_EQ(Group, Result.NewPolygonGroupIndex) << Triangle;
            EXPECT_EQ(SlotOfGroup(GroupToSlot, Group), Result.NewSlotIndex) << Triangle;
        }
    }
};

TEST_F(MaterialSlotOpTest, SlotNamesAreMadeUniqueWithoutRegardToCase)
{
    Mesh->GetMaterials()[1].ImportedMaterialSlotName = FName("Imported");
    Mesh->GetMaterials().Add(FSkeletalMaterial(nullptr, FName("Face_1"), FName("Other")));
    // A name reads as it was first spelled: "SLOT_0" is the name "Slot_0".
    const std::pair<const char*, const char*> Cases[] = {
        {"Face", "Face"},       {"SLOT_0", "Slot_0_1"}, {"imported", "Imported_1"},
        {"face_1", "Face_1_1"}, {"None", "Material_4"},
    };
    for (const auto& [Requested, Expected] : Cases)
    {
        EXPECT_EQ(MakeUniqueSlotName(*Mesh, FName(Requested)).ToString(), FString(Expected)) << Requested;
    }
    Mesh->GetMaterials().Add(FSkeletalMaterial(nullptr, FName("Material_5"), FName("Material_5_1")));
    EXPECT_EQ(MakeUniqueSlotName(*Mesh, NAME_None).ToString(), "Material_5_2")
        << "the suffix goes on the base, never on an earlier candidate";
}

// That one undo restores the mesh exactly is the random edits' test, for every slot edit.
TEST_F(MaterialSlotOpTest, ANewSlotTakesThePolygonsAndTheirMaterial)
{
    const FRivetMaterialSlotResult Result = AssignNew({4, 5, 4, -1, 999});
    ExpectNewSlot(Result, {4, 5});
    EXPECT_EQ(Result.NewSlotIndex, 3);
    EXPECT_EQ(Result.PolygonsMoved, 3) << "a repeated triangle counts twice";
    EXPECT_EQ(Result.FillerSlotsAdded, 0);
    EXPECT_FALSE(Result.bReusedEmptyGroup);
    EXPECT_EQ(Result.SlotName, FName("Face"));
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{16, 14, 16, 2}));
    EXPECT_EQ(MaterialOf(3), MaterialOf(1)) << "the mesh keeps its look";
    EXPECT_TRUE(Mesh->HasValidRenderData());
    EXPECT_TRUE(Log.ContainsMessage(LogCategory, "[RivetEditor] === BEFORE ==="));
    EXPECT_TRUE(Log.ContainsMessage(LogCategory, "[RivetEditor] Material[3] slot='Face' imported='Face' "
                                                 "material='M_Slot_1'"));
}

TEST_F(MaterialSlotOpTest, TheCopiedMaterialIsTheOneTheFirstTriangleDrawsWith)
{
    UMaterial* Given = NewObject<UMaterial>(Mesh);
    // Group 0 draws with slot 2 through the material map.
    Mesh->GetLODInfo(0)->LODMaterialMap = {2};
    struct FCase
    {
        TArray<int32> Triangles;
        bool bCopy;
        const UMaterial* Expected;
    };
    const FCase Cases[] = {{{0, 8}, true, MaterialOf(2)}, {{999, 0}, true, Given}, {{8}, false, Given}};
    for (const FCase& Case : Cases)
    {
        const FRivetMaterialSlotResult Result = AssignToNewSlot(
            Mesh, {.TriangleIDs = Case.Triangles, .bCopySourceMaterial = Case.bCopy, .Material = Given});
        ASSERT_TRUE(Result.bSuccess);
        EXPECT_EQ(MaterialOf(Result.NewSlotIndex), Case.Expected);
    }
    Mesh->GetLODInfo(0)->LODMaterialMap = {7};
    const FRivetMaterialSlotResult OutOfRange = AssignNew({12});
    EXPECT_EQ(MaterialOf(OutOfRange.NewSlotIndex), nullptr) << "slot 7 does not exist: the parameter's";
}

TEST_F(MaterialSlotOpTest, AnEmptyGroupWhoseSlotNothingDrawsWithIsTakenOver)
{
    Build({.PackageName = "/Game/Slots/Reuse", .bEmptySlot = true});
    Mesh->GetMaterials()[3].bCastShadow = false;

    const FRivetMaterialSlotResult Result = AssignNew({4}, "");
    ExpectNewSlot(Result, {4});
    EXPECT_TRUE(Result.bReusedEmptyGroup);
    EXPECT_EQ(Result.NewSlotIndex, 3);
    EXPECT_EQ(Result.SlotName, FName("Material_4"));
    ASSERT_EQ(Mesh->GetMaterials().Num(), 4);
    EXPECT_FALSE(Mesh->GetMaterials()[3].bCastShadow) << "the slot's other members stay";
    EXPECT_EQ(MaterialOf(3), MaterialOf(1));
}

TEST_F(MaterialSlotOpTest, AnEmptyGroupWhoseSlotOtherGeometryDrawsWithIsLeftAlone)
{
    // Slot 3 ("Unused") is drawn by group 2 through the LOD 0 map, then by LOD 1 only.
    Build({.PackageName = "/Game/Slots/NoReuse", .bEmptySlot = true, .NumLODs = 2});
    for (const bool bThroughLOD1 : {false, true})
    {
        SCOPED_TRACE(bThroughLOD1 ? "LOD 1" : "LOD 0");
        Mesh->GetLODInfo(0)->LODMaterialMap = bThroughLOD1 ? TArray<int32>{} : TArray<int32>{0, 1, 3};
        Mesh->GetLODInfo(1)->LODMaterialMap = bThroughLOD1 ? TArray<int32>{3} : TArray<int32>{};
        const TArray<FSkeletalMaterial> SlotsBefore = Mesh->GetMaterials();
        const TArray<const UMaterial*> LOD0Before = MaterialPerTriangle(*Mesh);
        const TArray<const UMaterial*> LOD1Before = MaterialPerSection(*Mesh, 1);

        const FRivetMaterialSlotResult Result = AssignNew({0});
        ExpectNewSlot(Result, {0});
        EXPECT_FALSE(Result.bReusedEmptyGroup);
        EXPECT_EQ(Result.NewSlotIndex, Mesh->GetMaterials().Num() - 1);
        EXPECT_EQ(Mesh->GetMaterials()[3], SlotsBefore[3]);
        TArray<const UMaterial*> LOD0Expected = LOD0Before;
        LOD0Expected[0] = MaterialOf(Result.NewSlotIndex);
        EXPECT_EQ(MaterialPerTriangle(*Mesh), LOD0Expected);
        EXPECT_EQ(MaterialPerSection(*Mesh, 1), LOD1Before);
    }
}

TEST_F(MaterialSlotOpTest, FillerSlotsBridgeTheGapToTheNewGroup)
{
    Build({.PackageName = "/Game/Slots/Fillers", .bEmptySlot = true});
    Mesh->GetMaterials().SetNum(2);

    const FRivetMaterialSlotResult Result = AssignNew({0});
    ExpectNewSlot(Result, {0});
    EXPECT_EQ(Result.NewSlotIndex, 4);
    EXPECT_EQ(Result.FillerSlotsAdded, 2);
    const TArray<FSkeletalMaterial>& Slots = Mesh->GetMaterials();
    ASSERT_EQ(Slots.Num(), 5);
    EXPECT_EQ(Slots[2], FSkeletalMaterial(nullptr, FName("Unused_2"), FName("Unused_2")));
    EXPECT_EQ(Slots[3], FSkeletalMaterial(nullptr, FName("Unused_3"), FName("Unused_3")));
}

TEST_F(MaterialSlotOpTest, ANewGroupBelowTheSlotCountIsRefusedUntilTheSlotsAreCleanedUp)
{
    // Group 1's polygons went to group 0 and the group was deleted: the next group would be 1, with
    // slots 1 and 2 still there.
    MoveGroup(1, 0);
    LOD0().DeletePolygonGroup(FPolygonGroupID(1));
    Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    const FSkeletalMeshSnapshot Before(*Mesh);

    const FRivetMaterialSlotResult Result = AssignNew({0});

    EXPECT_FALSE(Result.bSuccess);
    ExpectText(Result.Message, "RivetMaterialSlotOp", "SlotGroupMismatch",
               "This mesh has 3 material slots but its new geometry group would be number 1, so the new slot "
               "could not be paired with it. Nothing was changed. Press Remove Unused Slots first, then try "
               "again.");
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_EQ(Log.FindLines(LogCategory).Last().Message,
              "[RivetEditor] New slot refused: 3 slots > new group 1");

    ASSERT_TRUE(RemoveUnusedMaterialSlots(Mesh, true).bSuccess);
    const FRivetMaterialSlotResult Retried = AssignNew({0});
    ExpectNewSlot(Retried, {0});
    EXPECT_EQ(Retried.NewSlotIndex, 2);
}

TEST_F(MaterialSlotOpTest, RefusalsLeaveTheMeshAsItWas)
{
    const auto ExpectRefused = [this](const char* Key, const char* Text, const auto& Run)
    {
        SCOPED_TRACE(Key);
        Log.Clear();
        const FSkeletalMeshSnapshot Before(*Mesh);
        const FRivetMaterialSlotResult Result = Run();
        EXPECT_FALSE(Result.bSuccess);
        EXPECT_EQ(Result.NewSlotIndex, -1);
        ExpectText(Result.Message, "RivetMaterialSlotOp", Key, Text);
        EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
        EXPECT_EQ(Log.CountLines(LogCategory), 0);
    };
    const auto Existing = [this](int32 Slot)
    {
        return AssignToExistingSlot(Mesh, {.SlotIndex = Slot, .TriangleIDs = {0}});
    };
    const char* const BadSlot = "That material slot no longer exists.";
    ExpectRefused("NoMesh", "No skeletal mesh.",
                  [] { return AssignToNewSlot(nullptr, FRivetNewSlotParams{}); });
    ExpectRefused("NoMesh", "No skeletal mesh.",
                  [] { return AssignToExistingSlot(nullptr, FRivetExistingSlotParams{}); });
    ExpectRefused("EmptySelection", "Select at least one polygon first.", [&] { return AssignNew({}); });
    ExpectRefused("BadSlot", BadSlot, [&] { return Existing(3); });
    ExpectRefused("BadSlot", BadSlot, [&] { return Existing(-1); });
    Mesh->GetLODInfo(0)->LODMaterialMap = {0, 0};
    ExpectRefused("NoGroupForSlot", "That material slot has no geometry group to move polygons into.",
                  [&] { return Existing(1); });
    Mesh->ClearMeshDescription(0);
    ExpectRefused("NoMeshDescription", "This mesh has no editable source geometry.",
                  [&] { return AssignNew({0}); });
}

TEST_F(MaterialSlotOpTest, AnExistingSlotReceivesThePolygonsThroughItsFirstGroup)
{
    // Slot 0 is drawn only by group 1, through the map; group 0 draws with slot 1.
    Mesh->GetLODInfo(0)->LODMaterialMap = {1, 0};
    const FRivetMaterialSlotResult Result =
        AssignToExistingSlot(Mesh, {.SlotIndex = 0, .TriangleIDs = {8, 9, 9}});

    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.NewPolygonGroupIndex, 1);
    EXPECT_EQ(Result.NewSlotIndex, 0);
    EXPECT_EQ(Result.PolygonsMoved, 3);
    EXPECT_EQ(Result.SlotName, FName("Slot_0"));
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{18, 16, 14}));
    EXPECT_EQ(Mesh->GetLODInfo(0)->LODMaterialMap, (TArray<int32>{1, 0})) << "the map is not touched";
    EXPECT_EQ(Log.CountLines(LogCategory), 0) << "no dump for an existing slot";
}

TEST_F(MaterialSlotOpTest, TheNewSectionsMapEntryIsPointedAtTheNewSlot)
{
    // The map names every section; group 1 loses its triangles, so its slot can be taken over and its
    // group gets a section between two mapped ones again.
    Mesh->GetLODInfo(0)->LODMaterialMap = {0, 1, 2};
    MoveGroup(1, 0);
    ASSERT_EQ(Mesh->GetLODInfo(0)->LODMaterialMap, (TArray<int32>{0, 2}));
    int32 Rebuilds = 0;
    Mesh->OnMeshChanged().Add([&Rebuilds](USkeletalMesh*) { ++Rebuilds; });

    const FRivetMaterialSlotResult Result = AssignNew({8});

    ExpectNewSlot(Result, {8});
    EXPECT_TRUE(Result.bReusedEmptyGroup);
    EXPECT_EQ(Result.LODMapEntriesFixed, 1);
    EXPECT_EQ(Mesh->GetLODInfo(0)->LODMaterialMap, (TArray<int32>{0, 1, 2}));
    EXPECT_EQ(Rebuilds, 2) << "a second post-edit-change for the fixed map";
    EXPECT_EQ(Log.FindLines(LogCategory).Last().Message,
              "[RivetEditor] LODMaterialMap: 1 entries fixed (new section -> material 1)");

    Mesh->GetLODInfo(0)->LODMaterialMap.Empty();
    Rebuilds = 0;
    EXPECT_EQ(AssignNew({12}).LODMapEntriesFixed, 0);
    EXPECT_EQ(Rebuilds, 1);
}

TEST_F(MaterialSlotOpTest, TheDumpListsSlotsMapSectionsAndGroups)
{
    Mesh->GetMaterials()[2].Material = nullptr;
    Mesh->GetLODInfo(0)->LODMaterialMap = {0, INDEX_NONE, 2};

    LogMaterialSlotState("BEFORE", *Mesh, LOD0());

    TArray<FString> Lines;
    for (const FLogLine& Line : Log.FindLines(LogCategory))
    {
        EXPECT_EQ(Line.Verbosity, ELogVerbosity::Display);
        Lines.Add(Line.Message);
    }
    const TArray<FString> Expected = {
        "[RivetEditor] === BEFORE ===",
        "[RivetEditor] Material[0] slot='Slot_0' imported='Slot_0' material='M_Slot_0'",
        "[RivetEditor] Material[1] slot='Slot_1' imported='Slot_1' material='M_Slot_1'",
        "[RivetEditor] Material[2] slot='Slot_2' imported='Slot_2' material='NULL'",
        "[RivetEditor] LODMaterialMap (LOD0) num=3: 0 -1 2 ",
        "[RivetEditor] Section[0] MaterialIndex=0 triangles=16",
        "[RivetEditor] Section[1] MaterialIndex=1 triangles=16",
        "[RivetEditor] Section[2] MaterialIndex=2 triangles=16",
        "[RivetEditor] PolygonGroup[0] slotName='Slot_0' triangles=16",
        "[RivetEditor] PolygonGroup[1] slotName='Slot_1' triangles=16",
        "[RivetEditor] PolygonGroup[2] slotName='Slot_2' triangles=16",
    };
    EXPECT_EQ(Lines, Expected);

    Log.Clear();
    Mesh->GetLODInfo(0)->LODMaterialMap.Empty();
    LOD0().CreatePolygonGroup();
    Mesh->GetImportedModel()->LODModels.Empty();
    LogMaterialSlotState("AFTER", *Mesh, LOD0());
    EXPECT_TRUE(Log.ContainsMessage(LogCategory, "[RivetEditor] LODMaterialMap (LOD0) num=0: (empty)"));
    EXPECT_FALSE(Log.ContainsMessage(LogCategory, "Section["));
    EXPECT_TRUE(
        Log.ContainsMessage(LogCategory, "[RivetEditor] PolygonGroup[3] slotName='None' triangles=0"));
}

} // namespace
