#include "BakeTestSupport.h"

#include "CoreUObject/Object/Package.h"
#include "Engine/Animation/AnimSequence.h"
#include "RivetEditor/Private/Ops/RivetBakeRetargeting.h"

namespace
{
const FVector Up(0, 0, 1);
const FTransform DoubleSize = Turn(Up, 0.0, FVector(), 2.0);

USkeletalMeshSocket* AddSocket(TArray<TObjectPtr<USkeletalMeshSocket>>& Sockets, UObject* Outer,
                               const char* SocketName, const char* BoneName)
{
    USkeletalMeshSocket* Socket = NewObject<USkeletalMeshSocket>(Outer);
    Socket->SocketName = SocketName;
    Socket->BoneName = BoneName;
    Socket->RelativeLocation = FVector(1, 0, 0);
    Sockets.Add(Socket);
    return Socket;
}

TArray<FAnimationBoneTrack> Tracks(const UAnimSequence& Sequence)
{
    return Sequence.GetDataModel()->GetBoneAnimationTracks();
}

/** Counts the dirty marks of one package while it lives. */
class FDirtyMarkCounter
{
public:
    explicit FDirtyMarkCounter(const UPackage* InPackage)
        : Handle(UPackage::OnMarkedDirty().Add([this, InPackage](const UPackage* Marked)
                                               { Count += Marked == InPackage ? 1 : 0; }))
    {
    }
    ~FDirtyMarkCounter() { UPackage::OnMarkedDirty().Remove(Handle); }

    int32 Count = 0;

private:
    FDelegateHandle Handle;
};
} // namespace

TEST_F(BakeTest, SocketsFollowTheirBonesAndSkeletonSocketsAreCopiedOnlyWhenAsked)
{
    // Weapon is on Arm; the skeleton's Hat is on Head. Belt's bone does not move, Tail's is not in the mesh.
    USkeletalMeshSocket* Belt = AddSocket(Asset.Mesh->GetMeshOnlySocketList(), Asset.Mesh, "Belt", "Spine");
    AddSocket(Asset.Skeleton->Sockets, Asset.Skeleton, "Tail", "Tail");
    const FTransform WeaponBefore(FRotator(0, 90, 0), FVector(0.5, 0, 0.25));
    const FVector BeltLocation = Belt->RelativeLocation;

    FRivetBakeBoneResult Result = Bake({{"Arm", DoubleSize}}, {"Arm"});
    EXPECT_EQ(Result.SocketsCopiedFromSkeleton, 0);
    EXPECT_EQ(Result.SocketsUpdated, 1);
    EXPECT_EQ(Result.SkeletonSocketsLeftUntouched, 2);
    const USkeletalMeshSocket* Weapon = Asset.Mesh->GetMeshOnlySocketList()[0];
    EXPECT_TRUE(Weapon->RelativeLocation.Equals(WeaponBefore.GetTranslation() * 2.0));
    EXPECT_TRUE(Weapon->RelativeScale.Equals(FVector(2, 2, 2)));
    EXPECT_EQ(Belt->RelativeLocation, BeltLocation);

    Params.bLocalizeSkeletonSockets = true;
    Result = Bake({{"Head", DoubleSize}}, {"Head"});
    EXPECT_EQ(Result.SocketsCopiedFromSkeleton, 1);
    EXPECT_EQ(Result.SocketsUpdated, 1) << "the copy of Hat";
    EXPECT_EQ(Result.SkeletonSocketsLeftUntouched, 1) << "Tail";
    ASSERT_EQ(Asset.Mesh->GetMeshOnlySocketList().Num(), 3);
    const USkeletalMeshSocket* Copy = Asset.Mesh->GetMeshOnlySocketList()[2];
    const USkeletalMeshSocket* Hat = Asset.Skeleton->Sockets[0];
    EXPECT_EQ(Copy->GetOuter(), Asset.Mesh);
    EXPECT_EQ(Copy->SocketName, FName("Hat"));
    EXPECT_EQ(Copy->BoneName, FName("Head"));
    EXPECT_TRUE(Copy->RelativeLocation.Equals(Hat->RelativeLocation * 2.0));
    EXPECT_EQ(Hat->RelativeScale, FVector(1, 1, 1)) << "the skeleton's own stays";
    EXPECT_TRUE(Log.ContainsMessage(LogRivetEditor.GetCategoryName(),
                                    "[RivetEditor] Socket 'Hat' copied from the skeleton to the mesh"));
}

TEST_F(BakeTest, ARootScaleOfTwoDoublesEveryShapeAndConstraintBelowIt)
{
    Params.bUpdatePhysicsAsset = true;
    UPhysicsAsset& Physics = *Asset.PhysicsAsset;
    FKConvexElem& Hull = Physics.SkeletalBodySetups[1]->AggGeom.ConvexElems[0];
    Hull.Transform.SetTranslation(FVector(0.5, 0, 0));
    for (USkeletalBodySetup* Body : Physics.SkeletalBodySetups)
    {
        Body->CreatePhysicsMeshes();
    }
    TArray<FKAggregateGeometry> Expected;
    for (const USkeletalBodySetup* Body : Physics.SkeletalBodySetups)
    {
        FKAggregateGeometry Shapes = Body->AggGeom;
        for (FKSphereElem& Sphere : Shapes.SphereElems)
        {
            Sphere = FKSphereElem{Sphere.Name, Sphere.Center * 2.0, Sphere.Radius * 2.0f};
        }
        for (FKBoxElem& Box : Shapes.BoxElems)
        {
            Box =
                FKBoxElem{Box.Name, Box.Center * 2.0, Box.Rotation, Box.X * 2.0f, Box.Y * 2.0f, Box.Z * 2.0f};
        }
        for (FKCapsuleElem& Capsule : Shapes.CapsuleElems)
        {
            Capsule = FKCapsuleElem{Capsule.Name, Capsule.Center * 2.0, Capsule.Rotation,
                                    Capsule.Radius * 2.0f, Capsule.Length * 2.0f};
        }
        for (FKTaperedCapsuleElem& Capsule : Shapes.TaperedCapsuleElems)
        {
            Capsule =
                FKTaperedCapsuleElem{Capsule.Name,           Capsule.Center * 2.0,   Capsule.Rotation,
                                     Capsule.Radius0 * 2.0f, Capsule.Radius1 * 2.0f, Capsule.Length * 2.0f};
        }
        for (FKConvexElem& Convex : Shapes.ConvexElems)
        {
            for (FVector& Vertex : Convex.VertexData)
            {
                Vertex *= 2.0;
            }
            Convex.ElemBox = FBox(Convex.VertexData);
            Convex.Transform.SetTranslation(Convex.Transform.GetTranslation() * 2.0);
        }
        Expected.Add(Shapes);
    }

    const FRivetBakeBoneResult Result = Bake({{"Root", DoubleSize}}, {"Root"});

    EXPECT_EQ(Result.PhysicsAssetName, Physics.GetName());
    EXPECT_EQ(Result.PhysicsBodiesResized, 3);
    EXPECT_EQ(Result.PhysicsShapesSkipped, 2) << "Head's level set and skinned level set";
    EXPECT_EQ(Result.ConstraintsUpdated, 2);
    for (int32 Body = 0; Body < 3; ++Body)
    {
        EXPECT_EQ(Physics.SkeletalBodySetups[Body]->AggGeom, Expected[Body]) << Body;
        EXPECT_FALSE(Physics.SkeletalBodySetups[Body]->HasCookedData());
    }
    const FPhysicsConstraintSetup& Joint = Physics.ConstraintSetup[0]->DefaultInstance;
    EXPECT_EQ(Joint.Position2, FVector(4, 0, 0));
    EXPECT_EQ(Joint.LinearLimit, 1.0f);
    EXPECT_TRUE(Physics.GetPackage()->IsDirty());
    EXPECT_TRUE(Log.ContainsMessage(
        LogRivetEditor.GetCategoryName(),
        FString::Printf("[RivetEditor] Physics asset: '%s' (3 bodies, 2 constraints)", *Physics.GetName())
            .View()));
}

TEST_F(BakeTest, AScaleWithinATenThousandthLeavesThePhysicsAssetAlone)
{
    Params.bUpdatePhysicsAsset = true;
    Asset.PhysicsAsset->SkeletalBodySetups[0]->CreatePhysicsMeshes();
    const FRivetBakeBoneResult Result = Bake({{"Root", Turn(Up, 0.0, FVector(), 1.00009)}}, {"Root"});
    EXPECT_EQ(Result.PhysicsBodiesResized + Result.ConstraintsUpdated, 0);
    EXPECT_TRUE(Asset.PhysicsAsset->SkeletalBodySetups[0]->HasCookedData());
    EXPECT_FALSE(Asset.PhysicsAsset->GetPackage()->IsDirty());
}

TEST_F(BakeTest, TheRootsTurnAndShiftReachEveryAnimationOfTheSkeleton)
{
    UAnimSequence* Idle =
        NewObject<UAnimSequence>(CreatePackage("/Game/Bake/Anim/Idle"), "Idle", RF_Standalone);
    Idle->SetSkeleton(Asset.Skeleton);
    Idle->GetController().SetNumberOfKeys(2, false);
    const TArray<FAnimationBoneTrack> WalkBefore = Tracks(*Asset.Animation);
    const FTransform RootMove = Turn(Up, 90.0, FVector(0, 0, 5));
    Params.bBakeIntoAnimations = true;

    const FRivetBakeBoneResult Result = Bake({{"Root", RootMove}}, {"Spine", "Root"});

    EXPECT_EQ(Result.AnimationsUpdated, 2);
    EXPECT_FALSE(Result.bAnimationsSkipped);
    const FAnimationBoneTrack Root = Tracks(*Asset.Animation)[0];
    for (int32 Key = 0; Key < 3; ++Key)
    {
        EXPECT_TRUE(Root.GetKeyTransform(Key).Equals(WalkBefore[0].GetKeyTransform(Key) * RootMove, 1e-6));
    }
    EXPECT_EQ(Tracks(*Asset.Animation)[1], WalkBefore[1]) << "only the root's track";
    ASSERT_EQ(Tracks(*Idle).Num(), 1);
    EXPECT_EQ(Tracks(*Idle)[0].Name, FName("Root"));
    EXPECT_EQ(Tracks(*Idle)[0].GetNumKeys(), 2);
    EXPECT_TRUE(Tracks(*Idle)[0].GetKeyTransform(1).Equals(RootMove, 1e-6)) << "from the reference pose";
    EXPECT_TRUE(
        Log.ContainsMessage(LogRivetEditor.GetCategoryName(), "[RivetEditor] Animation updated: 'Idle'"));
}

TEST_F(BakeTest, AnimationsStayWhenTheRootIsNotBakedOrOnlyScaledInPlace)
{
    Params.bBakeIntoAnimations = true;
    const TArray<FAnimationBoneTrack> WalkBefore = Tracks(*Asset.Animation);
    FRivetBakeBoneResult Result = Bake({{"Spine", Turn(Up, 90.0)}}, {"Spine"});
    EXPECT_TRUE(Result.bAnimationsSkipped);
    EXPECT_EQ(Result.AnimationsUpdated, 0);

    // A root away from the origin, scaled where it stands.
    FReferenceSkeleton Bones = Asset.Mesh->GetRefSkeleton();
    {
        FReferenceSkeletonModifier Modifier(Bones, Asset.Skeleton);
        Modifier.UpdateRefPoseTransform(0, FTransform(FVector(0, 0, 95)));
    }
    Asset.Mesh->SetRefSkeleton(Bones);
    Result = Bake({{"Root", Turn(Up, 0.0, FVector(), 1.1)}}, {"Root"});
    EXPECT_FALSE(Result.bAnimationsSkipped);
    EXPECT_EQ(Result.AnimationsUpdated, 0);
    EXPECT_EQ(Tracks(*Asset.Animation), WalkBefore);
    EXPECT_FALSE(Asset.Animation->GetPackage()->IsDirty());
}

TEST_F(BakeTest, RetargetingSwitchesEveryBoneOnceAndMarksTheSkeletonOnlyWhenItSwitched)
{
    const FDirtyMarkCounter Marks(Asset.Skeleton->GetPackage());
    Asset.Skeleton->SetBoneTranslationRetargetingMode(2, EBoneTranslationRetargetingMode::AnimationScaled);
    Params.bRetargetAnimationScaled = true;
    EXPECT_EQ(Bake({{"Arm", Turn(Up, 10.0)}}, {"Arm"}).BonesSwitchedToScaled, 3);
    for (const FBoneTreeNode& Node : Asset.Skeleton->GetBoneTree())
    {
        EXPECT_EQ(Node.TranslationRetargetingMode, EBoneTranslationRetargetingMode::AnimationScaled);
    }

    const int32 MarksBefore = Marks.Count;
    EXPECT_EQ(SwitchSkeletonToScaledRetargeting(Asset.Skeleton), 0);
    EXPECT_EQ(Marks.Count, MarksBefore + 1) << "the Modify, and no mark of its own";
    EXPECT_EQ(SwitchSkeletonToScaledRetargeting(nullptr), 0);
    USkeleton* Boneless = NewObject<USkeleton>(CreatePackage("/Game/Bake/Boneless"), "Boneless");
    const FDirtyMarkCounter BonelessMarks(Boneless->GetPackage());
    EXPECT_EQ(SwitchSkeletonToScaledRetargeting(Boneless), 0);
    EXPECT_EQ(BonelessMarks.Count, 0);
}
