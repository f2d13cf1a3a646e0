#include "MaterialSlotExpectations.h"

#include "RivetEditor/Private/Ops/RivetMaterialSlotOp.h"
#include "RivetEditor/Private/Ops/RivetMergeSlotsOp.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace
{
/**
 * Runs random slot edits on a mesh; each says which LOD 0 triangles it may give another material. Whole
 * groups move now and then, so that sections come and go under a material map.
 */
class FRandomSlotEdits
{
public:
    FRandomSlotEdits(USkeletalMesh& InMesh, uint32 Seed) : Mesh(InMesh), Random(Seed) {}

    /** Runs one edit; false when it was refused. */
    bool Run(TArray<int32>& OutMayChange)
    {
        const int32 NumSlots = Mesh.GetMaterials().Num();
        switch (Pick(4))
        {
            case 0:
                return AssignToNewSlot(&Mesh, {.TriangleIDs = OutMayChange = PickTriangles(),
                                               .bCopySourceMaterial = Pick(2) == 0})
                    .bSuccess;
            case 1:
                return AssignToExistingSlot(&Mesh, {.SlotIndex = Pick(NumSlots + 1),
                                                    .TriangleIDs = OutMayChange = PickTriangles()})
                    .bSuccess;
            case 2:
            {
                const FRivetMergeSlotsParams Params{Pick(NumSlots), Pick(NumSlots), true};
                const TArray<const UMaterial*> Materials = MaterialPerTriangle(Mesh);
                for (int32 Triangle = 0; Triangle < Materials.Num(); ++Triangle)
                {
                    if (Materials[Triangle] == Mesh.GetMaterials()[Params.SourceSlot].Material.Get())
                    {
                        OutMayChange.Add(Triangle);
                    }
                }
                return MergeMaterialSlots(&Mesh, Params).bSuccess;
            }
            default:
                return RemoveUnusedMaterialSlots(&Mesh, true).bSuccess;
        }
    }

    /** Now and then, shuffles which LOD 0 section draws with which of their slots, through the map. */
    void MaybeShuffleLOD0Map()
    {
        if (Pick(4) != 0)
        {
            return;
        }
        TArray<int32> Slots = FindSectionSlots(Mesh, 0);
        std::shuffle(Slots.begin(), Slots.end(), Random);
        Mesh.GetLODInfo(0)->LODMaterialMap = std::move(Slots);
    }

private:
    int32 Pick(int32 Count) { return std::uniform_int_distribution<int32>(0, Count - 1)(Random); }

    /** A few triangle IDs, some repeated or out of range, or now and then a whole group's. */
    TArray<int32> PickTriangles()
    {
        if (Pick(6) == 0)
        {
            return TrianglesOfGroup(Mesh, Pick(Mesh.GetMeshDescription(0)->PolygonGroups().GetArraySize()));
        }
        const int32 Range = Mesh.GetMeshDescription(0)->Triangles().GetArraySize() + 2;
        TArray<int32> Triangles;
        for (int32 Count = 1 + Pick(6); Count > 0; --Count)
        {
            Triangles.Add(Pick(Range));
        }
        return Triangles;
    }

    USkeletalMesh& Mesh;
    std::mt19937 Random;
};

TEST(MaterialSlotRandomTest, EveryEditKeepsWhatItDoesNotMoveAndUndoesExactly)
{
    FTransactionBuffer::Get().Reset();
    USkeletalMesh* Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Slots/Random",
                                                  .QuadsX = 10,
                                                  .NumSlots = 5,
                                                  .bEmptySlot = true,
                                                  .NumLODs = 2})
                              .Mesh;
    // Groups 0 and 1 swap slots, and so do groups 3 and 4; LOD 1 draws with the empty slot 5.
    Mesh->GetLODInfo(0)->LODMaterialMap = {1, 0, INDEX_NONE, 4, 3};
    Mesh->GetLODInfo(1)->LODMaterialMap = {INDEX_NONE, INDEX_NONE, 5};
    FRandomSlotEdits Edits(*Mesh, 20);
    int32 Successes = 0;

    for (int32 Step = 0; Step < 300; ++Step)
    {
        Edits.MaybeShuffleLOD0Map();
        const FSkeletalMeshSnapshot Before(*Mesh);
        const TArray<const UMaterial*> LOD0Before = MaterialPerTriangle(*Mesh);
        const TArray<const UMaterial*> LOD1Before = MaterialPerSection(*Mesh, 1);
        TArray<int32> MayChange;
        bool bDone = false;
        {
            FScopedTransaction Transaction(FText::FromString("Random edit"));
            Mesh->Modify(true);
            bDone = Edits.Run(MayChange);
        }
        SCOPED_TRACE(testing::Message() << "step " << Step);
        Successes += bDone;

        const TArray<const UMaterial*> LOD0After = MaterialPerTriangle(*Mesh);
        ASSERT_EQ(LOD0After.Num(), LOD0Before.Num());
        for (int32 Triangle = 0; Triangle < LOD0After.Num(); ++Triangle)
        {
            ASSERT_TRUE(LOD0After[Triangle] == LOD0Before[Triangle] ||
                        (bDone && MayChange.Contains(Triangle)))
                << "triangle " << Triangle;
        }
        ASSERT_EQ(MaterialPerSection(*Mesh, 1), LOD1Before);
        ASSERT_TRUE(bDone || FSkeletalMeshSnapshot(*Mesh) == Before);

        const FSkeletalMeshSnapshot After(*Mesh);
        ASSERT_TRUE(FTransactionBuffer::Get().Undo());
        ASSERT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
        ASSERT_TRUE(FTransactionBuffer::Get().Redo());
        ASSERT_TRUE(FSkeletalMeshSnapshot(*Mesh) == After);
    }
    EXPECT_GT(Successes, 100);
}
} // namespace
