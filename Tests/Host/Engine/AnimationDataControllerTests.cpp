#include "Host/Engine/EngineTestUtil.h"

#include "Engine/Animation/AnimationDataController.h"
#include "Engine/Animation/AnimationDataModel.h"

#include <limits>
#include <numbers>

using namespace EngineTest;

namespace
{
FAnimationBoneTrack MakeTrack(const char* Name, int32 NumKeys, float Base)
{
    FAnimationBoneTrack Track{Name, {}, {}, {}};
    for (int32 Key = 0; Key < NumKeys; ++Key)
    {
        Track.PositionKeys.Add(FVector3f(Base + static_cast<float>(Key), 0.0f, 1.0f));
        Track.RotationKeys.Add(FQuat4f(0.0f, 0.0f, 0.6f, 0.8f));
        Track.ScaleKeys.Add(FVector3f(1.0f, 1.0f, Base));
    }
    return Track;
}

class AnimationDataControllerTest : public FUndoTest
{
protected:
    /** Three keys, a keyed "Spine" track and a "Head" track without keys; no history, not dirty. */
    void MakeKeyedModel(const char* Name)
    {
        Model = MakeAsset<UAnimationDataModel>(Name);
        Controller.SetModel(Model);
        ASSERT_TRUE(Controller.SetNumberOfKeys(3));
        ASSERT_EQ(Controller.AddBoneTrack("Spine"), 0);
        ASSERT_EQ(Controller.AddBoneTrack("Head"), 1);
        ASSERT_TRUE(SetKeys(MakeTrack("Spine", 3, 10.0f)));
        FTransactionBuffer::Get().Reset();
        Model->GetPackage()->SetDirtyFlag(false);
    }
    bool SetKeys(const FAnimationBoneTrack& Track, bool bShouldTransact = true)
    {
        return Controller.SetBoneTrackKeys(Track.Name, Track.PositionKeys, Track.RotationKeys,
                                           Track.ScaleKeys, bShouldTransact);
    }
    /** Expects the model to hold exactly Before's data and to have recorded and dirtied nothing. */
    void ExpectUnchanged(const UAnimationDataModel& Before) const
    {
        EXPECT_EQ(Model->GetBoneAnimationTracks(), Before.GetBoneAnimationTracks());
        EXPECT_EQ(Model->GetNumberOfKeys(), Before.GetNumberOfKeys());
        EXPECT_EQ(Model->GetFrameRate(), Before.GetFrameRate());
        EXPECT_EQ(RecordedObjects(), 0);
        EXPECT_FALSE(Model->GetPackage()->IsDirty());
    }

    UAnimationDataModel* Model = nullptr;
    FAnimationDataController Controller;
};
} // namespace

TEST_F(AnimationDataControllerTest, TimingFollowsKeysAndFrameRateOfTheModelEdited)
{
    FScopedLogCapture Capture;
    EXPECT_EQ(Controller.AddBoneTrack("Spine"), INDEX_NONE);
    EXPECT_TRUE(HasWarning(Capture, {"AddBoneTrack", "no data model"}));
    Model = MakeAsset<UAnimationDataModel>("Timing");
    EXPECT_EQ(Model->GetFrameRate(), 30.0);
    EXPECT_EQ(Model->GetNumberOfFrames(), 0);
    Controller.SetModel(Model);
    ASSERT_EQ(Controller.AddBoneTrack("Root"), 0);
    EXPECT_FALSE(
        Controller.SetBoneTrackKeys("Root", TArray<FVector3f>{}, TArray<FQuat4f>{}, TArray<FVector3f>{}));
    EXPECT_TRUE(HasWarning(Capture, {"'Root'", "0 positions, 0 rotations, 0 scales", "at least one"}))
        << "a model without keys takes no keys either";
    ASSERT_TRUE(Controller.SetNumberOfKeys(1));
    EXPECT_EQ(Model->GetNumberOfFrames(), 0) << "one key is a pose without duration";
    ASSERT_TRUE(Controller.SetNumberOfKeys(31));
    ASSERT_TRUE(Controller.SetFrameRate(60.0));
    EXPECT_EQ(Model->GetNumberOfFrames(), 30);
    EXPECT_EQ(Model->GetPlayLength(), 0.5);

    const UAnimationDataModel Before(*Model);
    Model->GetPackage()->SetDirtyFlag(false);
    FScopedTransaction Transaction(Title("Timing"));
    EXPECT_FALSE(Controller.SetNumberOfKeys(-1));
    EXPECT_TRUE(HasWarning(Capture, {"SetNumberOfKeys", "-1"}));
    for (double Rate : {0.0, -24.0, std::numeric_limits<double>::quiet_NaN()})
    {
        EXPECT_FALSE(Controller.SetFrameRate(Rate));
        EXPECT_TRUE(HasWarning(Capture, {"SetFrameRate", FString::Printf("%g", Rate).View()}));
    }
    ExpectUnchanged(Before);
}

TEST_F(AnimationDataControllerTest, RefusedTrackEditsChangeNothingAndAnExistingTrackIsLeft)
{
    MakeKeyedModel("KeysRefused");
    const UAnimationDataModel Before(*Model);
    {
        FScopedLogCapture Capture;
        FScopedTransaction Transaction(Title("Add Track"));
        EXPECT_EQ(Controller.AddBoneTrack("Spine"), 0);
        EXPECT_EQ(Controller.AddBoneTrack("HEAD"), 1) << "bone names compare without regard to case";
        EXPECT_EQ(Controller.AddBoneTrack(NAME_None), INDEX_NONE);
        EXPECT_TRUE(HasWarning(Capture, {"AddBoneTrack", "needs a bone name"}));
        EXPECT_FALSE(Controller.RemoveBoneTrack("Tail"));
        EXPECT_TRUE(HasWarning(Capture, {"RemoveBoneTrack", "'Tail'"}));
        ExpectUnchanged(Before);
    }
    const FAnimationBoneTrack Three = MakeTrack("Spine", 3, 0.0f);
    const FAnimationBoneTrack Two = MakeTrack("Spine", 2, 0.0f);
    const struct
    {
        FName Bone;
        const FAnimationBoneTrack& Positions;
        const FAnimationBoneTrack& Rotations;
        TArray<std::string_view> Message;
    } Cases[] = {
        {"Tail", Three, Three, {"'Tail'", "3 positions, 3 rotations, 3 scales", "no track"}},
        {"Spine", Three, Two, {"'Spine'", "3 positions, 2 rotations, 3 scales", "differ"}},
        {"Head", Two, Two, {"'Head'", "2 positions, 2 rotations, 2 scales", "has 3 keys"}},
    };
    for (const auto& Case : Cases)
    {
        FScopedLogCapture Capture;
        FScopedTransaction Transaction(Title("Set Keys"));
        EXPECT_FALSE(Controller.SetBoneTrackKeys(Case.Bone, Case.Positions.PositionKeys,
                                                 Case.Rotations.RotationKeys, Case.Positions.ScaleKeys));
        EXPECT_TRUE(HasWarning(Capture, Case.Message));
        ExpectUnchanged(Before);
    }
    FScopedLogCapture Capture;
    EXPECT_FALSE(
        Controller.SetBoneTrackKeys("Spine", TArray<FVector>{FVector(1, 2, 3)}, {}, TArray<FVector>{}));
    EXPECT_TRUE(HasWarning(Capture, {"'Spine'", "1 positions, 0 rotations, 0 scales"}));
    ExpectUnchanged(Before);
}

TEST_F(AnimationDataControllerTest, KeysSetInDoublePrecisionReadBackAsTransforms)
{
    MakeKeyedModel("KeysRoundTrip");
    const FQuat Turn(FVector(0, 0, 1), std::numbers::pi / 3);
    const TArray<FVector> Positions{FVector(1.5, 2, 3), FVector(4, 5.25, 6), FVector(-7, 8, 9.5)};
    const TArray<FQuat> Rotations{FQuat::Identity, Turn, Turn * Turn};
    const TArray<FVector> Scales{FVector(1, 1, 1), FVector(2, 2, 2), FVector(1, 0.5, 1)};
    ASSERT_TRUE(Controller.SetBoneTrackKeys("Head", Positions, Rotations, Scales));
    EXPECT_EQ(Model->FindBoneTrackByName("Head")->RotationKeys[1], FQuat4f(Turn));

    TArray<FTransform> Transforms{FTransform::Identity};
    ASSERT_TRUE(Model->GetBoneTrackTransforms("head", Transforms));
    ASSERT_EQ(Transforms.Num(), 3);
    for (int32 Key = 0; Key < 3; ++Key)
    {
        EXPECT_EQ(Transforms[Key].GetTranslation(), Positions[Key]) << Key;
        EXPECT_EQ(Transforms[Key].GetScale3D(), Scales[Key]) << Key;
        EXPECT_TRUE(Transforms[Key].GetRotation().Equals(Rotations[Key], 1e-6)) << Key;
    }
    EXPECT_EQ(*Model->FindBoneTrackByName("Spine"), MakeTrack("Spine", 3, 10.0f)) << "other tracks stay";
    EXPECT_FALSE(Model->GetBoneTrackTransforms("Tail", Transforms));
    EXPECT_TRUE(Transforms.IsEmpty());
}

TEST_F(AnimationDataControllerTest, OneUndoRestoresTransactedEditsAndUntransactedOnesOnlyABracketRecords)
{
    MakeKeyedModel("Untransacted");
    const TArray<FAnimationBoneTrack> Before = Model->GetBoneAnimationTracks();
    {
        FScopedTransaction Transaction(Title("Key Spine"));
        ASSERT_TRUE(SetKeys(MakeTrack("Spine", 3, 50.0f)));
        ASSERT_TRUE(Controller.RemoveBoneTrack("Head"));
        ASSERT_EQ(Controller.AddBoneTrack("Tail"), 1);
        ASSERT_TRUE(Controller.SetNumberOfKeys(5));
    }
    EXPECT_TRUE(Model->GetPackage()->IsDirty());
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Model->GetBoneAnimationTracks(), Before);
    EXPECT_EQ(Model->GetNumberOfKeys(), 3);

    Model->GetPackage()->SetDirtyFlag(false);
    const FAnimationBoneTrack Edited = MakeTrack("Spine", 3, 70.0f);
    {
        FScopedTransaction Transaction(Title("Quiet"));
        Controller.OpenBracket(Title("Quiet"), false);
        ASSERT_TRUE(SetKeys(Edited, false));
        Controller.CloseBracket(false);
        EXPECT_EQ(RecordedObjects(), 0);
    }
    EXPECT_TRUE(Model->GetPackage()->IsDirty()) << "the asset still needs a save";
    FTransactionBuffer::Get().Undo();
    EXPECT_EQ(*Model->FindBoneTrackByName("Spine"), Edited);

    const TArray<FAnimationBoneTrack> BeforeBracket = Model->GetBoneAnimationTracks();
    {
        FScopedTransaction Transaction(Title("Bracketed"));
        Controller.OpenBracket(Title("Bracketed"));
        ASSERT_TRUE(SetKeys(MakeTrack("Spine", 3, 90.0f), false));
        Controller.CloseBracket();
    }
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Model->GetBoneAnimationTracks(), BeforeBracket) << "the bracket recorded the state before it";
}
