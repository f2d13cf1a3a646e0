#include "Host/Engine/EngineTestUtil.h"

#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/WeakObjectPtr.h"
#include "Engine/Animation/AnimSequence.h"

using namespace EngineTest;

namespace
{
using AnimSequenceTest = FUndoTest;
} // namespace

TEST_F(AnimSequenceTest, DataModelIsMadeOnceInsideTheSequenceAndKeptByIt)
{
    UAnimSequence* Sequence = MakeAsset<UAnimSequence>("Walk");
    EXPECT_EQ(Sequence->GetDataModel(), nullptr);
    {
        FScopedTransaction Transaction(Title("Make Data"));
        Sequence->EnsureDataModel();
    }
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Sequence->GetDataModel(), nullptr);

    UAnimationDataModel* Model = Sequence->EnsureDataModel();
    EXPECT_EQ(Model->GetOuter(), Sequence);
    EXPECT_EQ(Sequence->EnsureDataModel(), Model);
    const TWeakObjectPtr<UAnimationDataModel> WeakModel(Model);
    CollectGarbage();
    EXPECT_EQ(WeakModel.Get(), Model);
    Model->MarkAsGarbage();
    CollectGarbage();
    EXPECT_EQ(Sequence->GetDataModel(), nullptr) << "a destroyed model leaves no dangling reference";
}

TEST_F(AnimSequenceTest, ControllerBracketsLastBetweenCallsAndThroughUndo)
{
    UAnimSequence* Sequence = MakeAsset<UAnimSequence>("Crouch");
    USkeleton* Skeleton = MakeAsset<USkeleton>("CrouchSkeleton");
    FAnimationDataController& Controller = Sequence->GetController();
    EXPECT_EQ(Controller.GetModel(), Sequence->GetDataModel()) << "asking for the controller makes the model";
    {
        FScopedTransaction Transaction(Title("Open"));
        Sequence->SetSkeleton(Skeleton);
        Sequence->GetController().OpenBracket(Title("Retime"));
        ASSERT_TRUE(Sequence->GetController().SetFrameRate(24.0));
    }
    EXPECT_EQ(&Sequence->GetController(), &Controller);
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Sequence->GetSkeleton(), nullptr);
    EXPECT_EQ(Sequence->GetDataModel()->GetFrameRate(), 30.0);
    EXPECT_EQ(Sequence->GetController().GetBracketDescription().ToString(), "Retime") << "still open";
    {
        FScopedTransaction Transaction(Title("Close"));
        Sequence->SetSkeleton(Skeleton);
        Sequence->GetController().CloseBracket();
    }
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_FALSE(Sequence->GetController().IsBracketOpen()) << "undo did not reopen the bracket";
}

TEST_F(AnimSequenceTest, SkeletonTagIsTheSkeletonsExportText)
{
    UAnimSequence* Sequence = MakeAsset<UAnimSequence>("Idle");
    TMap<FName, FString> Tags{{"Other", "Kept"}};
    Sequence->GetAssetRegistryTags(Tags);
    EXPECT_EQ(Tags, (TMap<FName, FString>{{"Other", "Kept"}})) << "no skeleton, no tag";
    Sequence->SetSkeleton(MakeAsset<USkeleton>("HeroSkeleton"));
    Sequence->GetAssetRegistryTags(Tags);
    EXPECT_EQ(Tags.FindRef("Skeleton"), "/Script/Engine.Skeleton'/Game/AnimTests/HeroSkeleton.HeroSkeleton'");
    EXPECT_EQ(Tags.FindRef("Other"), "Kept");
}
