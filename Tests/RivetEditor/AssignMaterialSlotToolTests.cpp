#include "MaterialSlotExpectations.h"
#include "ToolTestFixture.h"

#include "CoreUObject/Object/StrongObjectPtr.h"
#include "RivetEditor/Private/Tools/RivetAssignMaterialSlotTool.h"
#include "RivetEditor/Private/Tools/RivetMeshEditActions.h"

namespace
{
const char* const TextNamespace = "RivetAssignMaterialSlotTool";
constexpr EToolMessageLevel Result = EToolMessageLevel::UserNotification;
constexpr EToolMessageLevel Warning = EToolMessageLevel::UserWarning;

/** The test character (48 triangles in three slots of 16) open in the editor. */
class AssignMaterialSlotToolTest : public FToolTest
{
protected:
    void SetUp() override { Open({.PackageName = "/Game/Tools/SlotTarget"}); }

    URivetAssignMaterialSlotTool* Start()
    {
        return Tool = StartToolAs<URivetAssignMaterialSlotTool>(Editor, "Assign New Material Slot");
    }

    URivetAssignMaterialSlotToolProperties& Settings() const { return *Tool->GetSettings(); }

    /** After a button: the pickers start again from the first option and the tool is asked to end. */
    void ExpectEndedWithFreshPickers(const TStrongObjectPtr<URivetAssignMaterialSlotToolProperties>& Panel)
    {
        ASSERT_FALSE(Panel->SlotNameOptions.IsEmpty());
        const FString& First = Panel->SlotNameOptions[0];
        EXPECT_EQ(Panel->ExistingSlot, First);
        EXPECT_EQ(Panel->SlotToDelete, First);
        EXPECT_EQ(Panel->MergeIntoSlot, First);
        EXPECT_EQ(Editor.GetActiveTool(), nullptr);
    }

    URivetAssignMaterialSlotTool* Tool = nullptr;
};

TEST_F(AssignMaterialSlotToolTest, StartsWithItsPanelsHintALODWarningAndOneOptionPerSlot)
{
    Open({.PackageName = "/Game/Tools/SlotTargetLODs", .NumLODs = 2});
    Start();

    ExpectText(Tool->GetToolDisplayName(), TextNamespace, "ToolName", "Assign Material Slot");
    const TArray<FToolMessage>& Messages = Editor.GetMessages();
    ASSERT_GE(Messages.Num(), 2);
    ExpectText(Messages[Messages.Num() - 2].Text, TextNamespace, "ToolStartup",
               "Select polygons, pick New or Existing slot, then Accept.");
    EXPECT_EQ(Messages[Messages.Num() - 2].Level, Result);
    ExpectLastMessage(Editor, TextNamespace, "LodWarning",
                      "This mesh has more than one LOD. Only LOD0 will be changed.", Warning);
    EXPECT_EQ(CountMessages(Editor, "LodWarning"), 1);
    ASSERT_EQ(Tool->GetToolProperties().Num(), 2);
    EXPECT_NE(Cast<URivetMeshEditActions>(Tool->GetToolProperties()[1].Get()), nullptr);

    const TArray<FString> Options = {"0: Slot_0  (16 polys)", "1: Slot_1  (16 polys)",
                                     "2: Slot_2  (16 polys)"};
    EXPECT_EQ(Settings().GetSlotNameOptions(), Options);
    EXPECT_EQ(Settings().ExistingSlot, Options[0]);
    EXPECT_EQ(Settings().SlotToDelete, Options[0]);
    EXPECT_EQ(Settings().MergeIntoSlot, Options[0]);
    EXPECT_EQ(Settings().Target, ERivetSlotTargetMode::NewSlot);
    EXPECT_TRUE(Settings().bCopySourceMaterial);
}

TEST_F(AssignMaterialSlotToolTest, AcceptingMovesTheSelectionIntoANewAutoNamedSlotOrTheExistingSlotPicked)
{
    Start();
    const FSkeletalMeshSnapshot Before(*Mesh);
    ASSERT_TRUE(Editor.SelectPreviewTriangles({4, 5}));

    Editor.AcceptTool();

    ExpectLastMessage(Editor, TextNamespace, "AssignDone", "Moved 2 polygon(s) into slot 3 ('Material_3').",
                      Result);
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{16, 14, 16, 2}));
    ExpectOneUndoStep("Assign Material Slot", "AssignSlotTransaction");
    ASSERT_TRUE(Editor.Undo());
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);

    // Or into the existing slot picked.
    Start();
    Set("Target", "ExistingSlot");
    Set("ExistingSlot", Settings().SlotNameOptions[2]);
    ASSERT_TRUE(Editor.SelectPreviewTriangles({0, 1, 2}));

    Editor.AcceptTool();

    ExpectLastMessage(Editor, TextNamespace, "AssignDone", "Moved 3 polygon(s) into slot 2 ('Slot_2').",
                      Result);
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{13, 16, 19}));
}

TEST_F(AssignMaterialSlotToolTest, RefusedAcceptsChangeNothing)
{
    struct FCase
    {
        const char* Key;
        FString Text;
        TArray<int32> Selection;
        bool bExistingEmptySlot = false;
    };
    const FCase Cases[] = {
        {"NoSelection", "Select at least one polygon first. Nothing was changed.", {}},
        {"MapFailed",
         "Could not match 2 selected polygon(s) to the asset geometry. Nothing was changed.",
         {0, 9998, 9999}},
        {"NoGroupForSlot", "That material slot has no geometry group to move polygons into.", {0}, true},
    };
    for (const FCase& Case : Cases)
    {
        SCOPED_TRACE(Case.Key);
        FTransactionBuffer::Get().Reset();
        Start();
        if (Case.bExistingEmptySlot)
        {
            Mesh->GetMaterials().Add(FSkeletalMaterial(nullptr, FName("Spare"), FName("Spare")));
            Set("Target", "ExistingSlot");
            Set("ExistingSlot", "3: Spare  (0 polys)");
        }
        ASSERT_TRUE(Editor.SelectPreviewTriangles(Case.Selection));
        const FSkeletalMeshSnapshot Before(*Mesh);

        Editor.AcceptTool();

        const bool bFromOperation = Case.bExistingEmptySlot;
        ExpectLastMessage(Editor, bFromOperation ? "RivetMaterialSlotOp" : TextNamespace, Case.Key, Case.Text,
                          Warning);
        EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
        EXPECT_EQ(FTransactionBuffer::Get().CanUndo(), bFromOperation)
            << "the mesh is recorded before the call";
    }
}

TEST_F(AssignMaterialSlotToolTest, CancellingChangesNothingAndSaysNothing)
{
    Start();
    ASSERT_TRUE(Editor.SelectPreviewTriangles({4, 5}));
    const FSkeletalMeshSnapshot Before(*Mesh);
    const int32 Messages = Editor.GetMessages().Num();

    Editor.CancelTool();

    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_EQ(Editor.GetMessages().Num(), Messages);
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
}

TEST_F(AssignMaterialSlotToolTest, DeleteSlotRefusesUntouchedPickersAndMergesDifferentSlotsAsOneUndoStep)
{
    Start();
    const TStrongObjectPtr<URivetAssignMaterialSlotToolProperties> Stale(&Settings());
    Stale->ExistingSlot = "stale";
    const FSkeletalMeshSnapshot Untouched(*Mesh);

    Press("Delete Slot");
    Editor.Tick();

    ExpectLastMessage(Editor, "RivetMergeSlotsOp", "SameSlot", "Pick a different slot to merge into.",
                      Warning);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Untouched);
    ExpectEndedWithFreshPickers(Stale);

    // With two different slots picked, the one is merged into the other.
    FTransactionBuffer::Get().Reset();
    Start();
    const TStrongObjectPtr<URivetAssignMaterialSlotToolProperties> Panel(&Settings());
    Set("SlotToDelete", Panel->SlotNameOptions[1]);
    Set("MergeIntoSlot", Panel->SlotNameOptions[2]);
    const FSkeletalMeshSnapshot Before(*Mesh);

    Press("Delete Slot");
    Editor.Tick();

    ExpectLastMessage(Editor, TextNamespace, "DeleteSlotDone",
                      "Deleted 1 slot(s); moved 16 polygon(s). 2 slot(s) left.", Result);
    EXPECT_EQ(Panel->SlotNameOptions, (TArray<FString>{"0: Slot_0  (16 polys)", "1: Slot_2  (32 polys)"}));
    ExpectEndedWithFreshPickers(Panel);
    ExpectOneUndoStep("Delete Material Slot");
    ASSERT_TRUE(Editor.Undo());
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
}

TEST_F(AssignMaterialSlotToolTest, TheLastButtonPressedBeforeATickRuns)
{
    Open({.PackageName = "/Game/Tools/SlotTargetSpare", .bEmptySlot = true});
    Start();
    const TStrongObjectPtr<URivetAssignMaterialSlotToolProperties> Panel(&Settings());

    Press("Delete Slot");
    Press("Remove Unused Slots");
    Editor.Tick();

    ExpectLastMessage(Editor, TextNamespace, "CleanupDone", "Removed 1 unused material slot(s); 3 left.",
                      Result);
    EXPECT_EQ(CountMessages(Editor, "SameSlot"), 0);
    ExpectOneUndoStep("Remove Unused Material Slots");
    ExpectEndedWithFreshPickers(Panel);

    // The panel of an ended tool asks nothing of anyone.
    const int32 Messages = Editor.GetMessages().Num();
    Panel->RemoveUnusedSlotsNow();
    Editor.Tick();
    EXPECT_EQ(Editor.GetMessages().Num(), Messages);
}

TEST(ParseSlotOptionTest, TheNumberBeforeTheFirstColon)
{
    const std::pair<const char*, int32> Cases[] = {{"2: Body  (40 polys)", 2},
                                                   {"  12 : Name: with colon", 12},
                                                   {"-3: x", -3},
                                                   {"+4: x", 4},
                                                   {"Body: x", 0},
                                                   {": x", 0},
                                                   {"7x: y", 7},
                                                   {"no colon", -1},
                                                   {"", -1},
                                                   {"99999999999: x", 2147483647}};
    for (const auto& [Option, Expected] : Cases)
    {
        EXPECT_EQ(ParseSlotOption(Option), Expected) << Option;
    }
}
} // namespace
