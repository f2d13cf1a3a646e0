#include "Engine/PhysicsEngine/PhysicsAsset.h"
#include "Host/Engine/EngineTestUtil.h"

#include <gtest/gtest.h>

namespace
{
/** The eight corners of the box from Min to Max. */
TArray<FVector> BoxCorners(const FVector& Min, const FVector& Max)
{
    TArray<FVector> Corners;
    for (int32 Corner = 0; Corner < 8; ++Corner)
    {
        Corners.Add(
            FVector(Corner & 1 ? Max.X : Min.X, Corner & 2 ? Max.Y : Min.Y, Corner & 4 ? Max.Z : Min.Z));
    }
    return Corners;
}

FKConvexElem MakeConvex(const char* Name, const TArray<FVector>& Points, const FVector& Offset = FVector())
{
    FKConvexElem Convex;
    Convex.Name = Name;
    Convex.VertexData = Points;
    Convex.Transform = FTransform(Offset);
    Convex.UpdateElemBox();
    return Convex;
}

USkeletalBodySetup* MakeBody(UObject* Outer, const char* BoneName)
{
    USkeletalBodySetup* Body = NewObject<USkeletalBodySetup>(Outer);
    Body->BoneName = BoneName;
    Body->AggGeom.ConvexElems.Add(MakeConvex("Hull", BoxCorners(FVector(-1.0), FVector(1.0))));
    return Body;
}

UPhysicsConstraintTemplate* MakeConstraint(UObject* Outer, const char* Bone1, const char* Bone2)
{
    UPhysicsConstraintTemplate* Constraint = NewObject<UPhysicsConstraintTemplate>(Outer);
    Constraint->DefaultInstance.ConstraintBone1 = Bone1;
    Constraint->DefaultInstance.ConstraintBone2 = Bone2;
    return Constraint;
}

/** A 2x2x2 level set whose distances are the linear indices of its points. */
FKLevelSetElem MakeLevelSet()
{
    FKLevelSetElem LevelSet;
    LevelSet.GridDims = {2, 2, 2};
    LevelSet.CellSize = 0.5;
    LevelSet.Distances = {0, 1, 2, 3, 4, 5, 6, 7};
    return LevelSet;
}

/** A skinned level set on a 2x1x1 lattice, weighted to two bones. */
FKSkinnedLevelSetElem MakeSkinnedLevelSet()
{
    FKSkinnedLevelSetElem Skinned;
    static_cast<FKLevelSetElem&>(Skinned) = MakeLevelSet();
    Skinned.BoneNames = {FName("upperarm"), FName("lowerarm")};
    Skinned.LatticeDims = {2, 1, 1};
    Skinned.LatticeBoneWeights = {1.0f, 0.0f, 0.25f, 0.75f};
    return Skinned;
}
} // namespace

TEST(PhysicsShapes, AggregateCountsAndComparesEveryKindAndConvexBoxesBoundTheirPoints)
{
    FKAggregateGeometry Geometry;
    Geometry.SphereElems.AddDefaulted(2);
    Geometry.BoxElems.AddDefaulted();
    Geometry.CapsuleElems.AddDefaulted();
    Geometry.TaperedCapsuleElems.AddDefaulted();
    Geometry.ConvexElems.AddDefaulted();
    Geometry.LevelSetElems.Add(MakeLevelSet());
    Geometry.SkinnedLevelSetElems.Add(MakeSkinnedLevelSet());
    EXPECT_EQ(Geometry.GetElementCount(), 8);
    EXPECT_EQ(Geometry.GetLevelSetCount(), 2);

    FKAggregateGeometry Changed = Geometry;
    Changed.SkinnedLevelSetElems[0].LatticeBoneWeights[2] = 0.5f;
    EXPECT_NE(Changed, Geometry) << "equality reaches into nested shape data";

    FKConvexElem Convex = MakeConvex("Hull", {FVector(1.0, -2.0, 3.0), FVector(-4.0, 5.0, 0.5)});
    EXPECT_EQ(Convex.ElemBox, FBox(FVector(-4.0, -2.0, 0.5), FVector(1.0, 5.0, 3.0)));
    Convex.VertexData.Empty();
    Convex.UpdateElemBox();
    EXPECT_EQ(Convex.ElemBox, FBox()) << "no points leave an invalid box, not the old one";
}

TEST(PhysicsShapes, LevelSetsReadXFastestAndSayWhatIsWrongWithThem)
{
    const FKLevelSetElem Valid = MakeLevelSet();
    EXPECT_EQ(Valid.GetDistance(1, 0, 0), 1.0f);
    EXPECT_EQ(Valid.GetDistance(0, 1, 0), 2.0f);
    EXPECT_EQ(Valid.GetDistance(1, 1, 1), 7.0f);
    const FKSkinnedLevelSetElem Skinned = MakeSkinnedLevelSet();
    EXPECT_EQ(Skinned.GetBoneWeight(1, 1), 0.75f);

    const auto ExpectProblem = [](const char* Expected, auto Shape, const auto& Break)
    {
        Break(Shape);
        EXPECT_EQ(Shape.Validate(), Expected);
    };
    using FLevelSet = FKLevelSetElem;
    using FSkinned = FKSkinnedLevelSetElem;
    ExpectProblem("grid dimensions 2x2x0 are not all between 1 and 65536", Valid,
                  [](FLevelSet& L) { L.GridDims.Z = 0; });
    ExpectProblem("grid dimensions 2x2x3000000 are not all between 1 and 65536", Valid,
                  [](FLevelSet& L) {
                      L.GridDims = {2, 2, 3000000};
                  });
    ExpectProblem("cell size 0 is not a positive number", Valid, [](FLevelSet& L) { L.CellSize = 0.0; });
    ExpectProblem("7 distances for 8 grid points", Valid, [](FLevelSet& L) { L.Distances.Pop(); });
    ExpectProblem("8 distances for 8589934592 grid points", Valid,
                  [](FLevelSet& L) {
                      L.GridDims = {65536, 65536, 2};
                  });
    ExpectProblem("cell size -1 is not a positive number", Skinned, [](FSkinned& L) { L.CellSize = -1.0; });
    ExpectProblem("bone 1 ('upperarm') is None or listed twice", Skinned,
                  [](FSkinned& L) { L.BoneNames[1] = "upperarm"; });
    ExpectProblem("3 lattice weights for 2 points and 2 bones", Skinned,
                  [](FSkinned& L) { L.LatticeBoneWeights.Pop(); });
    ExpectProblem("the weights of lattice point 1 add up to 0.75, not 1", Skinned,
                  [](FSkinned& L) { L.LatticeBoneWeights[3] = 0.5f; });
    ExpectProblem("lattice point 0 has weight 1.5 outside 0..1", Skinned,
                  [](FSkinned& L) {
                      L.LatticeBoneWeights = {1.5f, -0.5f, 0.25f, 0.75f};
                  });
    EXPECT_EQ(Skinned.Validate(), "");
}

TEST(PhysicsAsset, InvalidateAllPhysicsMeshesDropsEveryCookAndSkipsNullEntries)
{
    UPhysicsAsset* Asset = NewObject<UPhysicsAsset>(CreatePackage("/Game/Physics/Invalidate"));
    USkeletalBodySetup* Pelvis = MakeBody(Asset, "Pelvis");
    USkeletalBodySetup* Spine = MakeBody(Asset, "Spine");
    Asset->SkeletalBodySetups = {Pelvis, nullptr, Spine};
    Pelvis->CreatePhysicsMeshes();
    Spine->CreatePhysicsMeshes();
    ASSERT_EQ(Spine->GetCookedConvexRecords().Num(), 1);
    Spine->AggGeom.ConvexElems[0].Transform = FTransform(FVector(0.0, 0.0, 5.0));
    Spine->CreatePhysicsMeshes();
    EXPECT_EQ(Spine->GetCookedConvexRecords()[0].BodySpaceBounds.Min.Z, -1.0) << "a cook is not redone";

    Asset->InvalidateAllPhysicsMeshes();
    EXPECT_FALSE(Pelvis->HasCookedData());
    EXPECT_FALSE(Spine->HasCookedData());
    EXPECT_TRUE(Spine->GetCookedConvexRecords().IsEmpty());

    Spine->CreatePhysicsMeshes();
    ASSERT_EQ(Spine->GetCookedConvexRecords().Num(), 1);
    EXPECT_EQ(Spine->GetCookedConvexRecords()[0].BodySpaceBounds,
              FBox(FVector(-1.0, -1.0, 4.0), FVector(1.0, 1.0, 6.0)));
}

using PhysicsAssetUndo = EngineTest::FUndoTest;

TEST_F(PhysicsAssetUndo, UndoRestoresABodyExactlyAndRedoReappliesIt)
{
    USkeletalBodySetup* Body = MakeBody(CreatePackage("/Game/Physics/UndoBody"), "Pelvis");
    Body->AggGeom.LevelSetElems.Add(MakeLevelSet());
    Body->CreatePhysicsMeshes();
    const FKAggregateGeometry ShapesBefore = Body->AggGeom;
    const TArray<FCookedConvexRecord> CookBefore = Body->GetCookedConvexRecords();
    {
        FScopedTransaction Transaction(FText::FromString("Edit Body"));
        Body->Modify();
        Body->BoneName = "hips";
        Body->AggGeom.SphereElems.Add({FName("Ball"), FVector(1.0, 2.0, 3.0), 4.0f});
        Body->AggGeom.ConvexElems[0].VertexData[0] = FVector(-3.0);
        Body->AggGeom.LevelSetElems[0].Distances[5] = -2.0f;
        Body->InvalidatePhysicsData();
    }
    const FKAggregateGeometry ShapesAfter = Body->AggGeom;

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Body->BoneName, FName("Pelvis"));
    EXPECT_EQ(Body->AggGeom, ShapesBefore);
    EXPECT_TRUE(Body->HasCookedData()) << "the cook that matched the old shapes comes back with them";
    EXPECT_EQ(Body->GetCookedConvexRecords(), CookBefore);

    ASSERT_TRUE(FTransactionBuffer::Get().Redo());
    EXPECT_EQ(Body->BoneName, FName("hips"));
    EXPECT_EQ(Body->AggGeom, ShapesAfter);
    EXPECT_FALSE(Body->HasCookedData());
}

TEST_F(PhysicsAssetUndo, UndoRestoresTheAssetsListsAndAConstraintAndLookupsByBoneFollow)
{
    UPhysicsAsset* Asset = NewObject<UPhysicsAsset>(CreatePackage("/Game/Physics/UndoAsset"));
    USkeletalBodySetup* Pelvis = MakeBody(Asset, "Pelvis");
    UPhysicsConstraintTemplate* Constraint = MakeConstraint(Asset, "Pelvis", "Root");
    Constraint->DefaultInstance.Position1 = FVector(0.0, 0.0, 12.5);
    Asset->SkeletalBodySetups = {nullptr, Pelvis};
    Asset->ConstraintSetup = {nullptr, Constraint};
    const FPhysicsConstraintSetup Before = Constraint->DefaultInstance;
    {
        FScopedTransaction Transaction(FText::FromString("Add Body"));
        Asset->Modify();
        Asset->SkeletalBodySetups.Add(MakeBody(Asset, "Spine"));
        Asset->ConstraintSetup.Add(MakeConstraint(Asset, "Spine", "Pelvis"));
        Constraint->Modify();
        Constraint->DefaultInstance.Position2 = FVector(1.0, 0.0, 0.0);
        Constraint->DefaultInstance.SecondaryAxis2 = FVector(0.0, 0.0, 1.0);
        Constraint->DefaultInstance.LinearLimit = 3.0f;
        Constraint->DefaultInstance.TwistLimit = 10.0f;
    }
    const FPhysicsConstraintSetup After = Constraint->DefaultInstance;

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Asset->SkeletalBodySetups, (TArray<TObjectPtr<USkeletalBodySetup>>{nullptr, Pelvis}));
    EXPECT_EQ(Asset->ConstraintSetup, (TArray<TObjectPtr<UPhysicsConstraintTemplate>>{nullptr, Constraint}));
    EXPECT_EQ(Asset->FindBodyIndex("Spine"), INDEX_NONE);
    EXPECT_EQ(Constraint->DefaultInstance, Before);

    ASSERT_TRUE(FTransactionBuffer::Get().Redo());
    EXPECT_EQ(Asset->FindBodyIndex("Spine"), 2) << "null entries are skipped";
    EXPECT_EQ(Asset->FindBodyIndex(NAME_None), INDEX_NONE);
    EXPECT_EQ(Asset->FindConstraintIndex("Spine", "Pelvis"), 2);
    EXPECT_EQ(Asset->FindConstraintIndex("Pelvis", "Spine"), INDEX_NONE) << "a joint's bones have an order";
    EXPECT_EQ(Asset->FindConstraintIndex("Spine", "Head"), INDEX_NONE);
    EXPECT_EQ(Constraint->DefaultInstance, After);
}
