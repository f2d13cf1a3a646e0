#include "MaterialSlotExpectations.h"

#include "RivetEditor/Private/Ops/RivetMaterialSlotOp.h"
#include "RivetEditor/Private/Ops/RivetMergeSlotsOp.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

#include "Core/Containers/Map.h"

#include <random>

namespace
{
/** What one random edit may change: the material that each listed triangle draws with from now on. */
struct FRandomEdit
{
    const char* Name = "";
    bool bSuccess = false;
    /** Triangle -> the material it must draw with afterwards; every other triangle keeps its own. */
    TMap<int32, const UMaterial*> Moved;
    /** Triangles that may draw either as before or with MergedMaterial (a merge's source slot). */
    TArray<int32> MayMerge;
    const UMaterial* MergedMaterial = nullptr;
};

class FMaterialSlotRandomEdits
{
public:
    FMaterialSlotRandomEdits(USkeletalMesh& InMesh, uint32 Seed) : Mesh(InMesh), Random(Seed) {}

    FRandomEdit Run()
    {
        const TArray<const UMaterial*> Before = MaterialPerTriangle(Mesh);
        switch (Pick(4))
        {
            case 0:
                return AssignNew(Before);
            case 1:
                return AssignExisting();
            case 2:
                return Merge();
            default:
                return {"cleanup", RemoveUnusedMaterialSlots(&Mesh, true).bSuccess};
        }
    }

private:
    int32 Pick(int32 Count) { return std::uniform_int_distribution<int32>(0, Count - 1)(Random); }
    int32 NumSlots() const { return Mesh.GetMaterials().Num(); }

    /** A few triangle IDs, some repeated or out of range. */
    TArray<int32> PickTriangles()
    {
        const int32 Range = Mesh.GetMeshDescription(0)->Triangles().GetArraySize() + 2;
        TArray<int32> Triangles;
        for (int32 Count = 1 + Pick(6); Count > 0; --Count)
        {
            Triangles.Add(Pick(Range));
        }
        return Triangles;
    }

    void MarkMoved(FRandomEdit& Edit, const TArray<int32>& Triangles, const UMaterial* Material) const
    {
        for (const int32 Triangle : Triangles)
        {
            if (Mesh.GetMeshDescription(0)->Triangles().IsValid(FTriangleID(Triangle)))
            {
                Edit.Moved.Add(Triangle, Material);
            }
        }
    }

    FRandomEdit AssignNew(const TArray<const UMaterial*>& Before)
    {
        FRivetNewSlotParams Params;
        Params.TriangleIDs = PickTriangles();
        Params.bCopySourceMaterial = Pick(2) == 0;
        const int32 First = Params.TriangleIDs[0];
        const UMaterial* Material =
            Params.bCopySourceMaterial && Before.IsValidIndex(First) ? Before[First] : nullptr;
        FRandomEdit Edit{"new slot"};
        MarkMoved(Edit, Params.TriangleIDs, Material);
        const FRivetMaterialSlotResult Result = AssignToNewSlot(&Mesh, Params);
        Edit.bSuccess = Result.bSuccess;
        if (Result.bSuccess)
        {
            EXPECT_EQ(Result.NewSlotIndex, Result.NewPolygonGroupIndex);
            EXPECT_EQ(Mesh.GetMaterials()[Result.NewSlotIndex].ImportedMaterialSlotName, Result.SlotName);
        }
        return Edit;
    }

    FRandomEdit AssignExisting()
    {
        FRivetExistingSlotParams Params;
        Params.SlotIndex = Pick(NumSlots() + 1);
        Params.TriangleIDs = PickTriangles();
        FRandomEdit Edit{"existing slot"};
        if (Params.SlotIndex < NumSlots())
        {
            MarkMoved(Edit, Params.TriangleIDs, Mesh.GetMaterials()[Params.SlotIndex].Material.Get());
        }
        Edit.bSuccess = AssignToExistingSlot(&Mesh, Params).bSuccess;
        return Edit;
    }

    FRandomEdit Merge()
    {
        const FRivetMergeSlotsParams Params{Pick(NumSlots()), Pick(NumSlots()), true};
        FRandomEdit Edit{"merge"};
        Edit.MergedMaterial = Mesh.GetMaterials()[Params.TargetSlot].Material.Get();
        const TArray<int32> GroupToSlot = BuildGroupToSlotMap(&Mesh);
        const FMeshDescription& Description = *Mesh.GetMeshDescription(0);
        for (const FTriangleID Triangle : Description.Triangles().GetElementIDs())
        {
            if (SlotOfGroup(GroupToSlot, Description.GetTrianglePolygonGroup(Triangle).GetValue()) ==
                Params.SourceSlot)
            {
                Edit.MayMerge.Add(Triangle.GetValue());
            }
        }
        Edit.bSuccess = MergeMaterialSlots(&Mesh, Params).bSuccess;
        return Edit;
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
    // Groups 0 and 1 swap slots, group 3 shares slot 4 with group 4; LOD 1 draws with the empty slot 5.
    Mesh->GetLODInfo(0)->LODMaterialMap = {1, 0, INDEX_NONE, 4};
    Mesh->GetLODInfo(1)->LODMaterialMap = {INDEX_NONE, INDEX_NONE, 5};
    FMaterialSlotRandomEdits Edits(*Mesh, 20);
    int32 Successes = 0;

    for (int32 Step = 0; Step < 300; ++Step)
    {
        const FSkeletalMeshSnapshot Before(*Mesh);
        const TArray<const UMaterial*> LOD0Before = MaterialPerTriangle(*Mesh);
        const TArray<const UMaterial*> LOD1Before = MaterialPerSection(*Mesh, 1);
        FRandomEdit Edit;
        {
            FScopedTransaction Transaction(FText::FromString("Random edit"));
            Mesh->Modify(true);
            Edit = Edits.Run();
        }
        SCOPED_TRACE(testing::Message() << "step " << Step << ": " << Edit.Name);
        Successes += Edit.bSuccess;

        const TArray<const UMaterial*> LOD0After = MaterialPerTriangle(*Mesh);
        ASSERT_EQ(LOD0After.Num(), LOD0Before.Num());
        for (int32 Triangle = 0; Triangle < LOD0After.Num(); ++Triangle)
        {
            const UMaterial* const* Moved = Edit.bSuccess ? Edit.Moved.Find(Triangle) : nullptr;
            const bool bMerged = Edit.bSuccess && Edit.MayMerge.Contains(Triangle) &&
                                 LOD0After[Triangle] == Edit.MergedMaterial;
            ASSERT_TRUE(LOD0After[Triangle] == (Moved ? *Moved : LOD0Before[Triangle]) || bMerged)
                << "triangle " << Triangle;
        }
        ASSERT_EQ(MaterialPerSection(*Mesh, 1), LOD1Before);
        if (!Edit.bSuccess)
        {
            ASSERT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
        }

        const FSkeletalMeshSnapshot After(*Mesh);
        ASSERT_TRUE(FTransactionBuffer::Get().Undo());
        ASSERT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
        ASSERT_TRUE(FTransactionBuffer::Get().Redo());
        ASSERT_TRUE(FSkeletalMeshSnapshot(*Mesh) == After);
    }
    EXPECT_GT(Successes, 100);
}
} // namespace
