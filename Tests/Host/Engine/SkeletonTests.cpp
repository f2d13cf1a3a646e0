#include "Host/Engine/EngineTestUtil.h"

#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/WeakObjectPtr.h"
#include "Engine/Animation/Skeleton.h"

using namespace EngineTest;

namespace
{
using EMode = EBoneTranslationRetargetingMode;
using FTree = TArray<FBoneTreeNode>;
constexpr EMode A = EMode::Animation;

/** Root, Pelvis, Spine, Head (Spine), ThighL (Pelvis), CalfL (ThighL). */
FReferenceSkeleton MakeBodySkeleton()
{
    return MakeReferenceSkeleton({{"Root"},
                                  {"Pelvis", "Root", Offset(0, 0, 100)},
                                  {"Spine", "Pelvis", Offset(0, 0, 20)},
                                  {"Head", "Spine", Offset(0, 0, 50)},
                                  {"ThighL", "Pelvis", Offset(10)},
                                  {"CalfL", "ThighL", Offset(0, 0, -40)}});
}

class SkeletonTest : public FUndoTest
{
protected:
    static USkeleton* MakeBody(const char* Name)
    {
        USkeleton* Skeleton = MakeAsset<USkeleton>(Name);
        EXPECT_TRUE(Skeleton->MergeBonesFrom(MakeBodySkeleton()));
        Skeleton->GetPackage()->SetDirtyFlag(false);
        return Skeleton;
    }
    static USkeletalMeshSocket* AddSocket(USkeleton* Skeleton, const char* SocketName)
    {
        USkeletalMeshSocket* Socket = NewObject<USkeletalMeshSocket>(Skeleton);
        Socket->SocketName = SocketName;
        Skeleton->Sockets.Add(Socket);
        return Socket;
    }
};
} // namespace

TEST_F(SkeletonTest, MergeAppendsTheMissingBonesAfterTheSkeletonsOwn)
{
    USkeleton* Skeleton = MakeBody("MergeNew");
    EXPECT_EQ(Skeleton->GetReferenceSkeleton(), MakeBodySkeleton()) << "an empty skeleton takes every bone";
    EXPECT_EQ(&Skeleton->GetRefLocalPoses(), &Skeleton->GetReferenceSkeleton().GetRefBonePose());
    Skeleton->SetBoneTranslationRetargetingMode(3, EMode::Skeleton);
    ASSERT_TRUE(Skeleton->AddRetargetSource("Tall", Skeleton->GetRefLocalPoses()));
    const USkeleton Before(*Skeleton);
    // Shared bones sit at other indices with other poses; new bones come between them.
    const FReferenceSkeleton Mesh = MakeReferenceSkeleton({{"Root", nullptr, Offset(9)},
                                                           {"Pelvis", "Root"},
                                                           {"ThighR", "Pelvis", Offset(-10)},
                                                           {"Spine", "Pelvis"},
                                                           {"ArmL", "Spine", Offset(0, 15, 30)}});
    {
        FScopedTransaction Transaction(Title("Merge Mesh"));
        ASSERT_TRUE(Skeleton->MergeBonesFrom(Mesh));
    }
    FReferenceSkeleton Expected = MakeBodySkeleton();
    {
        FReferenceSkeletonModifier Modifier(Expected, nullptr);
        Modifier.Add(FReferenceBone{"ThighR", 1}, Offset(-10));
        Modifier.Add(FReferenceBone{"ArmL", 2}, Offset(0, 15, 30));
    }
    EXPECT_EQ(Skeleton->GetReferenceSkeleton(), Expected);
    EXPECT_EQ(Skeleton->GetReferenceSkeleton().GetRefBoneInfo(), Expected.GetRefBoneInfo());
    EXPECT_EQ(Skeleton->GetBoneTree(), (FTree{{A}, {A}, {A}, {EMode::Skeleton}, {A}, {A}, {A}, {A}}));
    EXPECT_EQ(Skeleton->GetRefLocalPoses("Tall"), Expected.GetRefBonePose()) << "sources gain the new bones";

    Skeleton->GetPackage()->SetDirtyFlag(false);
    ASSERT_TRUE(Skeleton->MergeBonesFrom(Mesh)) << "merging again has nothing to add";
    EXPECT_EQ(Skeleton->GetReferenceSkeleton(), Expected);
    EXPECT_FALSE(Skeleton->GetPackage()->IsDirty());

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Skeleton->GetReferenceSkeleton(), Before.GetReferenceSkeleton());
    EXPECT_EQ(Skeleton->GetReferenceSkeleton().GetRefBoneInfo(),
              Before.GetReferenceSkeleton().GetRefBoneInfo());
    EXPECT_EQ(Skeleton->GetBoneTree(), Before.GetBoneTree());
    EXPECT_EQ(Skeleton->GetRefLocalPoses("Tall"), Before.GetRefLocalPoses("Tall"));
}

TEST_F(SkeletonTest, MergeOfADisagreeingHierarchyChangesNothing)
{
    USkeleton* Skeleton = MakeBody("MergeRefused");
    Skeleton->SetBoneTranslationRetargetingMode(2, EMode::OrientAndScale);
    Skeleton->GetPackage()->SetDirtyFlag(false);
    const USkeleton Before(*Skeleton);
    const struct
    {
        FReferenceSkeleton Mesh;
        TArray<std::string_view> Message;
    } Cases[] = {
        {MakeReferenceSkeleton({{"Root"}, {"Tail", "Root"}, {"Pelvis", "Root"}, {"Spine", "Root"}}),
         {"'Spine'", "parent 'Root' in the mesh but 'Pelvis'"}},
        {MakeReferenceSkeleton({{"World"}, {"Root", "World"}}), {"'World'", "parent 'None'"}},
    };
    for (const auto& Case : Cases)
    {
        FScopedLogCapture Capture;
        FScopedTransaction Transaction(Title("Merge"));
        EXPECT_FALSE(Skeleton->MergeBonesFrom(Case.Mesh));
        EXPECT_TRUE(HasWarning(Capture, Case.Message));
        EXPECT_EQ(RecordedObjects(), 0);
        EXPECT_EQ(Skeleton->GetReferenceSkeleton(), Before.GetReferenceSkeleton());
        EXPECT_EQ(Skeleton->GetBoneTree(), Before.GetBoneTree());
        EXPECT_FALSE(Skeleton->GetPackage()->IsDirty());
    }
}

TEST_F(SkeletonTest, RetargetingModeGoesToOneBoneOrItsSubtree)
{
    USkeleton* Skeleton = MakeBody("Modes");
    Skeleton->SetBoneTranslationRetargetingMode(1, EMode::Skeleton);
    Skeleton->SetBoneTranslationRetargetingMode(2, EMode::AnimationScaled, true);
    EXPECT_EQ(Skeleton->GetBoneTree(),
              (FTree{{A}, {EMode::Skeleton}, {EMode::AnimationScaled}, {EMode::AnimationScaled}, {A}, {A}}))
        << "Spine and Head: not the parent, not the sibling ThighL and its CalfL";
    EXPECT_EQ(Skeleton->GetBoneTranslationRetargetingMode(3), EMode::AnimationScaled);

    const TArray<FBoneTreeNode> Before = Skeleton->GetBoneTree();
    for (int32 BadIndex : {6, INDEX_NONE})
    {
        FScopedLogCapture Capture;
        Skeleton->SetBoneTranslationRetargetingMode(BadIndex, EMode::OrientAndScale, true);
        EXPECT_TRUE(HasWarning(Capture, {"'Modes'", FString::Printf("no bone %d", BadIndex).View()}));
        EXPECT_EQ(Skeleton->GetBoneTree(), Before);
        EXPECT_EQ(Skeleton->GetBoneTranslationRetargetingMode(BadIndex), A);
    }
}

TEST_F(SkeletonTest, OneUndoRestoresEveryModeAndTheSockets)
{
    USkeleton* Skeleton = MakeBody("SkeletonUndo");
    Skeleton->SetBoneTranslationRetargetingMode(3, EMode::OrientAndScale);
    USkeletalMeshSocket* Kept = AddSocket(Skeleton, "Kept");
    const USkeleton Before(*Skeleton);
    TWeakObjectPtr<USkeletalMeshSocket> Added;
    {
        FScopedTransaction Transaction(Title("Retarget And Add Socket"));
        Skeleton->SetBoneTranslationRetargetingMode(1, EMode::AnimationRelative,
                                                    true); // records the skeleton
        Added = AddSocket(Skeleton, "Added");
    }
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Skeleton->GetBoneTree(), Before.GetBoneTree());
    EXPECT_EQ(Skeleton->Sockets, Before.Sockets);
    CollectGarbage();
    EXPECT_TRUE(IsValid(Kept));
    EXPECT_FALSE(Added.IsValid()) << "undo takes the socket it made away";
    ASSERT_TRUE(FTransactionBuffer::Get().Redo());
    EXPECT_TRUE(Added.IsValid()) << "the redo step kept it";
    EXPECT_EQ(Skeleton->FindSocket("Added"), Added.Get());
}
