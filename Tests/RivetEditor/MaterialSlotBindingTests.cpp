#include "MaterialSlotExpectations.h"

#include "Support/MeshEdits.h"
#include "Support/TestSkeletalAsset.h"

#include <gtest/gtest.h>

namespace
{
/** The test character: 48 triangles in three slots of 16, plus an empty fourth slot and group. */
USkeletalMesh* MakeMesh()
{
    static int32 Count = 0;
    return BuildTestSkeletalAsset(
               {.PackageName = FString::Printf("/Game/Slots/Binding%d", ++Count), .bEmptySlot = true})
        .Mesh;
}

TEST(MaterialSlotBindingTest, TheMaterialMapRedirectsSectionsNotGroups)
{
    struct FCase
    {
        const char* Name;
        TArray<int32> Map;
        bool bEmptyGroup1;
        TArray<int32> GroupToSlot;
        TArray<int32> TrianglesPerSlot;
    };
    const FCase Cases[] = {
        {"no map: every group draws with its own slot", {}, false, {0, 1, 2, 3}, {16, 16, 16, 0}},
        // Group 1 loses its triangles, so the sections are built from groups 0 and 2: the map's second entry
        // redirects group 2, and INDEX_NONE leaves group 0 alone.
        {"sections, not groups", {INDEX_NONE, 3}, true, {0, 1, 3, 3}, {16, 0, 0, 16}},
        {"a short map leaves later sections on their own slot", {2}, false, {2, 1, 2, 3}, {0, 16, 32, 0}},
        {"slots outside the material array count nowhere",
         {7, INDEX_NONE - 1},
         false,
         {7, INDEX_NONE - 1, 2, 3},
         {0, 0, 16, 0}},
    };
    for (const FCase& Case : Cases)
    {
        SCOPED_TRACE(Case.Name);
        USkeletalMesh* Mesh = MakeMesh();
        if (Case.bEmptyGroup1)
        {
            DeleteTrianglesAndUnusedElements(*Mesh->GetMeshDescription(0),
                                             TrianglesInGroup(*Mesh->GetMeshDescription(0), 1));
            Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
        }
        Mesh->GetLODInfo(0)->LODMaterialMap = Case.Map;

        EXPECT_EQ(BuildGroupToSlotMap(Mesh), Case.GroupToSlot);
        EXPECT_EQ(CountTrianglesPerSlot(Mesh), Case.TrianglesPerSlot);
    }
}

TEST(MaterialSlotBindingTest, MissingMeshOrDescription)
{
    EXPECT_TRUE(BuildGroupToSlotMap(nullptr).IsEmpty());
    EXPECT_TRUE(CountTrianglesPerSlot(nullptr).IsEmpty());

    USkeletalMesh* Mesh = MakeMesh();
    Mesh->ClearMeshDescription(0);
    EXPECT_TRUE(BuildGroupToSlotMap(Mesh).IsEmpty());
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{0, 0, 0, 0}));
}
} // namespace
