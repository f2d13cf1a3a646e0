#include "CliTestFixture.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "RivetCli/Session/BoneEdit.h"
#include "RivetCli/Session/ScopedPackageRelease.h"

using testing::HasSubstr;

namespace
{
class BakeToolCommandTest : public CliTest
{
protected:
    FCliRun RunBake(std::vector<std::string> Extra)
    {
        std::vector<std::string> Args = {"run", Character, "--tool", "Bake Bone Transform", "--out", Path("out")};
        Args.insert(Args.end(), Extra.begin(), Extra.end());
        return RunCli(Args);
    }
};
} // namespace

TEST_F(BakeToolCommandTest, ABoneEditedByHandIsBakedIntoTheSavedFileWhoseRestPoseCarriesTheScale)
{
    // The test character's level sets and skeleton socket would warn; the options that touch them are off.
    const FCliRun Run = RunBake({"--bone-edit", "Root:scale=2:rotation=0,0,0", "--set", "Resize Physics Asset=false",
                                 "--set", "Localize Skeleton Sockets=true", "--press", "Bake"});

    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("edited bone Root\n"));
    EXPECT_THAT(Run.Out, HasSubstr("\nnote: Baked 1 bone(s): "));
    const FScopedPackageRelease Packages;
    const FInterchangeResult Read = ImportSkinnedMeshFile(FString(Path("out/character.glb")));
    ASSERT_TRUE(Read.bSuccess) << *Read.Error;
    const FReferenceSkeleton& Bones = Read.Mesh->GetRefSkeleton();
    const FVector Expected[] = {{0, 0, 0}, {4, 0, 0}, {4, 0, 0}, {0, 4, 0}};
    for (int32 Bone = 0; Bone < Bones.GetNum(); ++Bone)
    {
        EXPECT_TRUE(Bones.GetRefBonePose()[Bone].GetTranslation().Equals(Expected[Bone], 1e-4))
            << Bone << " " << *Bones.GetRefBonePose()[Bone].ToString();
        EXPECT_TRUE(Bones.GetRefBonePose()[Bone].GetScale3D().Equals(FVector::OneVector, 1e-6)) << Bone;
    }
}

TEST_F(BakeToolCommandTest, BonesAreSelectedAndPanelVectorsSetByText)
{
    const FCliRun Run = RunBake({"--bone", "Spine", "--press", "Use Selected Bone", "--set",
                                 "Rotation=P=0 Y=90 R=0", "--set", "Scale=1.5"});

    EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("note: Bone Name set to 'Spine'."));
    EXPECT_THAT(Run.Out, HasSubstr("set Rotation = P=0"));
    EXPECT_THAT(Run.Out, HasSubstr("set Scale = X=1.5"));
    EXPECT_THAT(Run.Out, HasSubstr("nothing changed: no files written"));
    EXPECT_EQ(RunBake({"--bone", "Tail"}).ExitCode, 2);
}

TEST(BoneEditTest, ReadsEveryPartAndRefusesOthers)
{
    FBoneEditRequest Edit;
    FString Error;
    ASSERT_TRUE(ParseBoneEdit("hand_l:rotation=10,20,30 location=1,2,3:scale=2", Edit, Error)) << *Error;
    EXPECT_EQ(Edit.Bone, "hand_l");
    EXPECT_EQ(*Edit.Rotation, FRotator(10, 20, 30));
    EXPECT_EQ(*Edit.Location, FVector(1, 2, 3));
    EXPECT_EQ(*Edit.Scale, FVector(2, 2, 2));
    ASSERT_TRUE(ParseBoneEdit("rig:Hips:rotation=0,90,0", Edit, Error)) << *Error;
    EXPECT_EQ(Edit.Bone, "rig:Hips") << "a bone name may hold colons";
    for (const char* Bad : {"hand_l", ":scale=2", "hand_l:", "hand_l:scale=1,2", "hand_l:size=2", "hand_l:scale",
                            "hand_l:scale=inf", "hand_l:rotation=0,x,0"})
    {
        EXPECT_FALSE(ParseBoneEdit(Bad, Edit, Error)) << Bad;
        EXPECT_FALSE(Error.IsEmpty());
    }
}
