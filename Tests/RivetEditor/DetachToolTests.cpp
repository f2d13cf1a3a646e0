#include "ToolTestFixture.h"

#include "CoreUObject/Misc/PackageName.h"
#include "CoreUObject/Object/Package.h"
#include "RivetEditor/Private/Tools/RivetDetachTool.h"
#include "VantorEd/Assets/AssetRegistry.h"
#include "VantorEd/Assets/AssetTools.h"
#include "VantorEd/Assets/ContentBrowser.h"

#include <numeric>

namespace
{
const char* const TextNamespace = "RivetDetachTool";

/** The test character (48 triangles in three slots) open in the editor, with the Detach tool to start. */
class DetachToolTest : public FToolTest
{
protected:
    void SetUp() override { Open({.PackageName = "/Game/Tools/DetachTarget"}); }

    URivetDetachTool* Start() { return StartToolAs<URivetDetachTool>(Editor, "Detach Polygons"); }
    void DetachSelection(const TArray<int32>& Triangles) { PressOnSelection(Triangles, "Detach Selected Polygons"); }

    /** The source's name with the suffix ("DetachTarget_Part" for "_Part"). */
    FString PartName(const FString& Suffix = "_Part") const { return Mesh->GetPackage()->GetName() + Suffix; }

    /** The part asset of that name beside the source, when the registry lists it. */
    USkeletalMesh* FindPart(const FString& Suffix = "_Part") const
    {
        const FString Path = PartName(Suffix) + "." + FPackageName::GetShortName(PartName(Suffix));
        return Cast<USkeletalMesh>(FAssetRegistry::Get().GetAssetByObjectPath(Path).GetAsset());
    }
};
} // namespace

TEST_F(DetachToolTest, DetachesIntoANewPartThatOneUndoTakesAwayAndRedoBringsBack)
{
    Start();
    const FSkeletalMeshSnapshot SourceBefore(*Mesh);

    DetachSelection({0, 1, 2, 3});

    ExpectLastMessage(Editor, TextNamespace, "DetachDone",
                      "Detached 4 polygon(s) into '" + FPackageName::GetShortName(PartName()) +
                          "'. 2 unused material slot(s) removed. Save BOTH the new asset and the source mesh to "
                          "keep the change.",
                      EToolMessageLevel::UserNotification);
    EXPECT_EQ(Editor.GetActiveTool(), nullptr);
    USkeletalMesh* Part = FindPart();
    ASSERT_NE(Part, nullptr);
    EXPECT_EQ(Triangles(Part), 4);
    EXPECT_EQ(Triangles(Mesh), 44);
    const FContentBrowserSyncRequest Sync = FContentBrowser::Get().GetSyncHistory().Last();
    EXPECT_EQ(Sync, (FContentBrowserSyncRequest{{FAssetData(Part)}, false, true, NAME_None, false}));
    EXPECT_EQ(FTransactionBuffer::Get().GetUndoTitles().Last().GetKey(), "DetachTransaction");
    const FSkeletalMeshSnapshot SourceAfter(*Mesh);
    const FSkeletalMeshSnapshot PartAfter(*Part);

    ASSERT_TRUE(Editor.Undo());
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == SourceBefore);
    EXPECT_EQ(FindPart(), nullptr);
    EXPECT_EQ(FindPackage(PartName()), nullptr);
    EXPECT_TRUE(FContentBrowser::Get().GetSelectedAssets().IsEmpty());

    ASSERT_TRUE(Editor.Redo());
    EXPECT_EQ(FindPart(), Part);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Part) == PartAfter);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == SourceAfter);
    EXPECT_EQ(FContentBrowser::Get().GetSelectedAssets(), TArray<FAssetData>{FAssetData(Part)});
}

TEST_F(DetachToolTest, RepeatedDetachesGetNewNamesAndACloneLeavesTheSource)
{
    Open({.PackageName = "/Game/Tools/DetachTarget", .NumLODs = 3});
    Start();
    DetachSelection({0});
    ExpectLastMessage(Editor, TextNamespace, "LODsRemoved",
                      "2 extra LOD(s) were removed from the new asset — only LOD0 is detached. Rebuild the LODs "
                      "if you need them.",
                      EToolMessageLevel::UserWarning);
    Start();
    Set("Remove From Source", "false");
    const FSkeletalMeshSnapshot SourceBefore(*Mesh);

    DetachSelection({5, 6});

    EXPECT_EQ(Editor.GetMessages()[Editor.GetMessages().Num() - 2].Text.ToString(),
              "Detached 2 polygon(s) into '" + FPackageName::GetShortName(PartName("_Part_1")) +
                  "'. 2 unused material slot(s) removed. Save the new asset to keep it.");
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == SourceBefore);
    ASSERT_NE(FindPart(), nullptr);
    EXPECT_EQ(Triangles(FindPart("_Part_1")), 2);
}

TEST_F(DetachToolTest, ARefusedSelectionCreatesNoAsset)
{
    URivetDetachTool* Tool = Start();
    TArray<int32> Everything;
    Everything.SetNum(48);
    std::iota(Everything.begin(), Everything.end(), 0);
    const FSkeletalMeshSnapshot Before(*Mesh);

    DetachSelection({});
    ExpectLastMessage(Editor, TextNamespace, "MappingFailed",
                      "Could not match 0 of the selected polygons to the asset. Nothing was changed — reimport "
                      "the mesh and try again.",
                      EToolMessageLevel::UserWarning);
    DetachSelection(Everything);
    ExpectLastMessage(Editor, "RivetDetachOp", "FullSelection",
                      "Selecting every polygon would leave an empty mesh. Nothing was changed.",
                      EToolMessageLevel::UserWarning);

    EXPECT_EQ(FindPackage(PartName()), nullptr);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
    EXPECT_EQ(Editor.GetActiveTool(), Tool);
}

TEST_F(DetachToolTest, AFailureAfterTheDuplicateLeavesTheNewAssetAndSaysWhatToDo)
{
    URivetDetachTool* Tool = Start();
    // The copy comes out one triangle short, as a broken duplication would make it.
    const FDelegateHandle Hook = FAssetTools::Get().OnAssetDuplicated().Add(
        [](UObject* Copy) { Cast<USkeletalMesh>(Copy)->GetMeshDescription(0)->DeleteTriangle(FTriangleID(47)); });
    const FSkeletalMeshSnapshot Before(*Mesh);

    DetachSelection({3});
    FAssetTools::Get().OnAssetDuplicated().Remove(Hook);

    ExpectLastMessage(Editor, "RivetDetachOp", "CountMismatch",
                      "The new asset does not match the source mesh, so nothing was detached into it. Delete the "
                      "new asset and try again.",
                      EToolMessageLevel::UserWarning);
    EXPECT_EQ(Editor.GetActiveTool(), Tool);
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    const USkeletalMesh* Part = FindPart();
    ASSERT_NE(Part, nullptr) << "the half-made asset stays where the message says";
    EXPECT_EQ(Triangles(Part), 47);

    ASSERT_TRUE(Editor.Undo());
    EXPECT_EQ(FindPart(), nullptr);
}
