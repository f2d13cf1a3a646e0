#include "CoreUObject/Object/Package.h"
#include "Engine/Animation/AnimSequence.h"
#include "Engine/PhysicsEngine/PhysicsAsset.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/SkeletalAssetSnapshot.h"
#include "Support/TestFiles.h"
#include "Support/TestSkeletalAsset.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{
/** A vertex's influences without those of zero weight, which carry nothing. */
TArray<FBoneWeight> NonZero(std::span<const FBoneWeight> Weights)
{
    TArray<FBoneWeight> Result;
    for (const FBoneWeight& Weight : Weights)
    {
        if (Weight.RawWeight > 0)
        {
            Result.Add(Weight);
        }
    }
    return Result;
}

/** The same triangles per polygon group, compared by the positions and attributes of their corners. */
void ExpectSameDescription(const FMeshDescription& Expected, const FMeshDescription& Actual)
{
    EXPECT_EQ(Expected.Vertices().Num(), Actual.Vertices().Num());
    EXPECT_EQ(Expected.VertexInstances().Num(), Actual.VertexInstances().Num());
    EXPECT_EQ(Expected.Triangles().Num(), Actual.Triangles().Num());
    EXPECT_EQ(Expected.PolygonGroups().Num(), Actual.PolygonGroups().Num());
    FSkeletalMeshAttributesShared A(Expected);
    FSkeletalMeshAttributesShared B(Actual);
    for (const FVertexID Vertex : Expected.Vertices().GetElementIDs())
    {
        ASSERT_TRUE(Actual.Vertices().IsValid(Vertex));
        EXPECT_EQ(A.GetVertexPositions()[Vertex], B.GetVertexPositions()[Vertex]);
        EXPECT_EQ(NonZero(A.GetVertexSkinWeights().Get(Vertex)),
                  NonZero(B.GetVertexSkinWeights().Get(Vertex)))
            << "vertex " << Vertex.GetValue();
        for (const FName Morph : A.GetMorphTargetNames())
        {
            EXPECT_EQ(A.GetVertexMorphPositionDelta(Morph)[Vertex],
                      B.GetVertexMorphPositionDelta(Morph)[Vertex]);
        }
    }
    const auto CornersA = A.GetVertexInstanceAttributes();
    const auto CornersB = B.GetVertexInstanceAttributes();
    ASSERT_EQ(CornersA.UVs.GetNumChannels(), CornersB.UVs.GetNumChannels());
    for (const FVertexInstanceID Instance : Expected.VertexInstances().GetElementIDs())
    {
        ASSERT_TRUE(Actual.VertexInstances().IsValid(Instance));
        EXPECT_EQ(Expected.GetVertexInstanceVertex(Instance), Actual.GetVertexInstanceVertex(Instance));
        EXPECT_EQ(CornersA.Normals[Instance], CornersB.Normals[Instance]);
        EXPECT_EQ(CornersA.Tangents[Instance], CornersB.Tangents[Instance]);
        EXPECT_EQ(CornersA.BinormalSigns[Instance], CornersB.BinormalSigns[Instance]);
        EXPECT_EQ(CornersA.Colors[Instance], CornersB.Colors[Instance]);
        for (int32 Channel = 0; Channel < CornersA.UVs.GetNumChannels(); ++Channel)
        {
            EXPECT_EQ(CornersA.UVs.Get(Instance, Channel), CornersB.UVs.Get(Instance, Channel));
        }
        for (const FName Morph : A.GetMorphTargetNames())
        {
            if (A.HasMorphTargetNormalsAttribute(Morph))
            {
                ASSERT_TRUE(B.HasMorphTargetNormalsAttribute(Morph));
                EXPECT_EQ(A.GetVertexInstanceMorphNormalDelta(Morph)[Instance],
                          B.GetVertexInstanceMorphNormalDelta(Morph)[Instance]);
            }
        }
    }
    EXPECT_EQ(A.GetMorphTargetNames(), B.GetMorphTargetNames());
    for (const FPolygonGroupID Group : Expected.PolygonGroups().GetElementIDs())
    {
        ASSERT_TRUE(Actual.PolygonGroups().IsValid(Group));
        EXPECT_EQ(A.GetPolygonGroupMaterialSlotNames()[Group], B.GetPolygonGroupMaterialSlotNames()[Group]);
    }
}

/**
 * The read gives back what the file holds of the asset: every description whole, and its settings, slots,
 * morphs, skeleton, sockets, physics and animation keys (SnapshotFileContent), made into new assets that
 * point at each other.
 */
void ExpectReadBackAsWritten(const USkeletalMesh& Mesh, const TArray<UAnimSequence*>& Animations,
                             const FInterchangeResult& Result)
{
    ASSERT_TRUE(Result.bSuccess) << *Result.Error;
    TArray<FString> ExpectedNames;
    TArray<FString> ActualNames;
    const FSkeletalAssetSnapshot Expected = SnapshotFileContent(Mesh, Animations, ExpectedNames);
    FSkeletalAssetSnapshot Actual = SnapshotFileContent(*Result.Mesh, Result.Animations, ActualNames);
    ASSERT_EQ(ActualNames, ExpectedNames);
    ASSERT_EQ(Actual.MeshSnapshot.Descriptions.Num(), Expected.MeshSnapshot.Descriptions.Num());
    for (int32 LOD = 0; LOD < Expected.MeshSnapshot.Descriptions.Num(); ++LOD)
    {
        SCOPED_TRACE(LOD);
        ExpectSameDescription(*Expected.MeshSnapshot.Descriptions[LOD],
                              *Actual.MeshSnapshot.Descriptions[LOD]);
    }
    // Edges are not in the file: a read numbers them anew.
    Actual.MeshSnapshot.Descriptions = Expected.MeshSnapshot.Descriptions;
    EXPECT_TRUE(Actual == Expected);
    EXPECT_EQ(Result.Mesh->GetSkeleton(), Result.Skeleton);
    EXPECT_EQ(Result.Mesh->GetPhysicsAsset(), Result.PhysicsAsset);
    for (int32 Index = 0; Index < Animations.Num(); ++Index)
    {
        EXPECT_EQ(Result.Animations[Index]->GetSkeleton(), Result.Skeleton);
        EXPECT_EQ(Result.Animations[Index]->GetDataModel()->GetFrameRate(),
                  Animations[Index]->GetDataModel()->GetFrameRate());
    }
    EXPECT_EQ(Result.Mesh->FindSocket(FName("Hat")), Result.Skeleton->Sockets[0]) << "through the skeleton";
}

class GltfRoundTrip : public ::testing::Test
{
protected:
    FInterchangeResult ExportAndImport(const FTestSkeletalAsset& Asset, EGltfFileFormat Format,
                                       const char* FileName)
    {
        const FString Path = Folder.File(FileName);
        const FInterchangeWriteResult Written =
            ExportSkeletalMeshToGltf(*Asset.Mesh, Path, {.Format = Format, .Animations = {Asset.Animation}});
        EXPECT_TRUE(Written.bSuccess) << *Written.Error;
        FInterchangeResult Result = ImportSkinnedMeshFile(Path);
        EXPECT_TRUE(Result.bSuccess) << *Result.Error;
        return Result;
    }

    FTestFolder Folder;
};

TEST_F(GltfRoundTrip, GivesBackEveryLODSlotSkeletonSocketBodyAndKeyAsBinaryAndAsText)
{
    for (const EGltfFileFormat Format : {EGltfFileFormat::Binary, EGltfFileFormat::Text})
    {
        const bool bText = Format == EGltfFileFormat::Text;
        SCOPED_TRACE(bText ? "text" : "binary");
        const FTestSkeletalAsset Asset = BuildTestSkeletalAsset({.bEmptySlot = true, .NumLODs = 2});
        Asset.Skeleton->SetBoneTranslationRetargetingMode(2, EBoneTranslationRetargetingMode::Skeleton);
        Asset.Mesh->GetLODInfo(0)->LODMaterialMap = {2, INDEX_NONE, 0};
        Asset.Mesh->GetLODInfo(1)->ScreenSize = 0.25f;
        Asset.Mesh->GetLODInfo(1)->bHasBeenSimplified = true;

        const FInterchangeResult Result = ExportAndImport(Asset, Format, bText ? "Lods.gltf" : "Lods.glb");

        ExpectReadBackAsWritten(*Asset.Mesh, {Asset.Animation}, Result);
        EXPECT_TRUE(Result.Package->IsDirty());
        const TArray<FString> Expected =
            bText ? TArray<FString>{"Lods.bin", "Lods.glb", "Lods.gltf"} : TArray<FString>{"Lods.glb"};
        EXPECT_EQ(Folder.ListFiles(), Expected)
            << "a text save leaves the .gltf and its .bin and nothing else";
    }
}

TEST_F(GltfRoundTrip, SavingAPackageWritesWhatSavingToMemoryGivesAndLeavesItClean)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset({.bEmptySlot = true, .NumLODs = 2});
    UPackage& Package = *Asset.Mesh->GetPackage();
    Package.SetDirtyFlag(true);
    std::string InMemory;
    ASSERT_TRUE(SavePackageToMemory(Package, "Original", InMemory).bSuccess);
    EXPECT_TRUE(Package.IsDirty());
    const FString Saved = Folder.File("Original.glb");
    const FInterchangeWriteResult Written = SavePackageToFile(Package, Saved);
    ASSERT_TRUE(Written.bSuccess) << *Written.Error;
    EXPECT_FALSE(Package.IsDirty());
    EXPECT_EQ(ReadBytes(Saved), InMemory);
    ExpectReadBackAsWritten(*Asset.Mesh, {}, ImportSkinnedMeshFile(Saved));

    // A saved animation package loads onto the skeleton.
    const FString SavedWalk = Folder.File("Walk.gltf");
    const FInterchangeWriteResult WrittenWalk = SavePackageToFile(*Asset.Animation->GetPackage(), SavedWalk);
    ASSERT_TRUE(WrittenWalk.bSuccess) << *WrittenWalk.Error;
    const FInterchangeResult Walk = ImportAnimationFile(SavedWalk, Asset.Skeleton);
    ASSERT_TRUE(Walk.bSuccess) << *Walk.Error;
    ASSERT_EQ(Walk.Animations.Num(), 1);
    EXPECT_EQ(Walk.Animations[0]->GetSkeleton(), Asset.Skeleton);
    EXPECT_EQ(Walk.Animations[0]->GetDataModel()->GetBoneAnimationTracks(),
              Asset.Animation->GetDataModel()->GetBoneAnimationTracks());
    EXPECT_EQ(Walk.Mesh, nullptr);
}

TEST_F(GltfRoundTrip,
       EveryInfluenceOfVerticesWithMoreThanFourNoneOfVerticesWithoutAndEveryKeyOfALongAnimation)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset();
    FSkeletalMeshAttributes Attributes(*Asset.Mesh->GetMeshDescription(0));
    const TArray<FBoneWeight> Eight = {{0, 12000}, {1, 11000}, {2, 10000}, {3, 9000},
                                       {1, 8000},  {2, 7000},  {3, 5000},  {0, 3535}};
    Attributes.GetVertexSkinWeights().Set(FVertexID(3), Eight);
    Attributes.GetVertexSkinWeights().Set(FVertexID(5), {});
    constexpr int32 NumKeys = 3000; // 100 seconds: times whose floats are coarser than a microsecond
    FAnimationDataController& Controller = Asset.Animation->GetController();
    Controller.OpenBracket(FText::FromString("Lengthen"), false);
    Controller.SetNumberOfKeys(NumKeys, false);
    for (const FAnimationBoneTrack& Track : Asset.Animation->GetDataModel()->GetBoneAnimationTracks())
    {
        TArray<FVector3f> Positions;
        TArray<FQuat4f> Rotations;
        TArray<FVector3f> Scales;
        for (int32 Key = 0; Key < NumKeys; ++Key)
        {
            Positions.Add(FVector3f(Key * 0.37f, std::sin(Key * 0.1f) * 10.0f, 1.0f));
            Rotations.Add(FQuat4f(FVector3f(0.0f, 0.0f, 1.0f), Key * 0.05f));
            Scales.Add(FVector3f(1.0f, 1.0f, 1.0f));
        }
        Controller.SetBoneTrackKeys(Track.Name, Positions, Rotations, Scales, false);
    }
    Controller.CloseBracket(false);
    const FString Path = Folder.File("Heavy.glb");
    const FInterchangeWriteResult Written =
        ExportSkeletalMeshToGltf(*Asset.Mesh, Path, {.Animations = {Asset.Animation}});
    ASSERT_TRUE(Written.bSuccess) << *Written.Error;
    EXPECT_TRUE(Written.bDroppedInfluences);
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path);
    ASSERT_TRUE(Result.bSuccess) << *Result.Error;
    FSkeletalMeshAttributesShared Imported(*Result.Mesh->GetMeshDescription(0));
    const std::span<const FBoneWeight> Heavy = Imported.GetVertexSkinWeights().Get(FVertexID(3));
    EXPECT_EQ(TArray<FBoneWeight>(Heavy.data(), static_cast<int32>(Heavy.size())), Eight);
    EXPECT_TRUE(Imported.GetVertexSkinWeights().Get(FVertexID(5)).empty());
    ExpectSameDescription(*Asset.Mesh->GetMeshDescription(0), *Result.Mesh->GetMeshDescription(0));
    const UAnimationDataModel& Actual = *Result.Animations[0]->GetDataModel();
    EXPECT_EQ(Actual.GetNumberOfKeys(), NumKeys);
    EXPECT_EQ(Asset.Animation->GetDataModel()->GetBoneAnimationTracks(), Actual.GetBoneAnimationTracks());
}

} // namespace

// A written file is one a read gives back whole: read and written again it is the same bytes, even from an
// asset made in code whose tracks are not in bone order, whose vertices list weightless influences, whose
// morph deltas hold negative zeros, whose raw pose holds a rotation a little off unit length and whose two
// slots share one material (which comes back shared).
TEST_F(GltfRoundTrip, AFileReadAndWrittenAgainIsTheSameFile)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset({.PackageName = "/Game/RoundTrip/FixedPoint"});
    FAnimationDataController& Controller = Asset.Animation->GetController();
    TArray<FTransform> RootKeys;
    ASSERT_TRUE(Asset.Animation->GetDataModel()->GetBoneTrackTransforms("Root", RootKeys));
    TArray<FVector> Positions;
    TArray<FQuat> Rotations;
    TArray<FVector> Scales;
    for (const FTransform& Key : RootKeys)
    {
        Positions.Add(Key.GetTranslation());
        Rotations.Add(Key.GetRotation());
        Scales.Add(Key.GetScale3D());
    }
    Controller.RemoveBoneTrack("Root", false);
    Controller.AddBoneTrack("Root", false);
    ASSERT_TRUE(Controller.SetBoneTrackKeys("Root", Positions, Rotations, Scales, false));
    {
        FReferenceSkeletonModifier Modifier(Asset.Mesh->GetRefSkeleton(), nullptr);
        Modifier.UpdateRefPoseTransform(
            2, FTransform(FQuat(0.0, 0.0, 0.6, 0.8000000000000003), FVector(2.0, 0.0, 0.0)));
    }
    Asset.Mesh->GetRefBasesInvMatrix().Empty();
    Asset.Mesh->CalculateInvRefMatrices();
    Asset.Mesh->GetMaterials()[1].Material = Asset.Mesh->GetMaterials()[0].Material;

    const FInterchangeResult Result = ExportAndImport(Asset, EGltfFileFormat::Binary, "FixedPoint.glb");
    ASSERT_TRUE(Result.bSuccess);
    ASSERT_TRUE(SavePackageToFile(*Result.Package, Folder.File("Again.glb")).bSuccess);

    EXPECT_TRUE(ReadBytes(Folder.File("Again.glb")) == ReadBytes(Folder.File("FixedPoint.glb")));
    EXPECT_EQ(Result.Mesh->GetRefSkeleton(), Asset.Mesh->GetRefSkeleton());
    EXPECT_EQ(Result.Mesh->GetMaterials()[1].Material.Get(), Result.Mesh->GetMaterials()[0].Material.Get());
}
