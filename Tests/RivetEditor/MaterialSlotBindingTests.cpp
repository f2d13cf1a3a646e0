#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetEditor/Private/Ops/RivetMaterialSlotOp.h"
#include "Support/MeshEdits.h"
#include "Support/TestSkeletalAsset.h"

#include <gtest/gtest.h>

namespace
{
/** The test character: 48 triangles in three slots of 16, plus an empty fourth slot and group. */
class MaterialSlotBindingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Slots/Binding", .bEmptySlot = true}).Mesh;
    }

    void SetLODMaterialMap(TArray<int32> Map) { Mesh->GetLODInfo(0)->LODMaterialMap = std::move(Map); }

    /** Deletes every triangle of a group and rebuilds the render sections. */
    void EmptyGroup(int32 Group)
    {
        FMeshDescription& Description = *Mesh->GetMeshDescription(0);
        TArray<FTriangleID> Triangles;
        for (const FTriangleID Triangle : Description.Triangles().GetElementIDs())
        {
            if (Description.GetTrianglePolygonGroup(Triangle) == FPolygonGroupID(Group))
            {
                Triangles.Add(Triangle);
            }
        }
        DeleteTrianglesAndUnusedElements(Description, Triangles);
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    }

    USkeletalMesh* Mesh = nullptr;
};

TEST_F(MaterialSlotBindingTest, EveryGroupDrawsWithItsOwnSlotWithoutAMaterialMap)
{
    EXPECT_EQ(BuildGroupToSlotMap(Mesh), (TArray<int32>{0, 1, 2, 3}));
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{16, 16, 16, 0}));
}

TEST_F(MaterialSlotBindingTest, MaterialMapRedirectsSectionsNotGroups)
{
    // Group 1 loses its triangles, so the sections are built from groups 0 and 2: the map's second
    // entry redirects group 2, and INDEX_NONE leaves group 0 alone.
    EmptyGroup(1);
    SetLODMaterialMap({INDEX_NONE, 3});

    EXPECT_EQ(BuildGroupToSlotMap(Mesh), (TArray<int32>{0, 1, 3, 3}));
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{16, 0, 0, 16}));
}

TEST_F(MaterialSlotBindingTest, ShortMapLeavesLaterSectionsOnTheirOwnSlot)
{
    SetLODMaterialMap({2});

    EXPECT_EQ(BuildGroupToSlotMap(Mesh), (TArray<int32>{2, 1, 2, 3}));
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{0, 16, 32, 0}));
}

TEST_F(MaterialSlotBindingTest, TrianglesOfSlotsOutsideTheMaterialArrayCountNowhere)
{
    SetLODMaterialMap({7, INDEX_NONE - 1});

    EXPECT_EQ(BuildGroupToSlotMap(Mesh), (TArray<int32>{7, INDEX_NONE - 1, 2, 3}));
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{0, 0, 16, 0}));
}

TEST_F(MaterialSlotBindingTest, MissingMeshOrDescription)
{
    EXPECT_TRUE(BuildGroupToSlotMap(nullptr).IsEmpty());
    EXPECT_TRUE(CountTrianglesPerSlot(nullptr).IsEmpty());

    Mesh->ClearMeshDescription(0);
    EXPECT_TRUE(BuildGroupToSlotMap(Mesh).IsEmpty());
    EXPECT_EQ(CountTrianglesPerSlot(Mesh), (TArray<int32>{0, 0, 0, 0}));
}
} // namespace
