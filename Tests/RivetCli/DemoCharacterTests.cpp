#include "Core/Logging/ScopedLogCapture.h"
#include "CoreUObject/Misc/PackageName.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/Animation/AnimSequence.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetCli/Demo/DemoCharacter.h"
#include "RivetCli/Demo/DemoGeometry.h"
#include "Support/AssetNames.h"
#include "Support/MeshBuilders.h"
#include "Support/MeshExpectations.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace
{
const char* const DemoPackage = "/Game/Demo/RivetDemoCharacter";

/** +1 when the triangle runs along the edge from its first vertex to its second, -1 the other way. */
int32 EdgeDirection(const FMeshDescription& Mesh, FTriangleID Triangle, FEdgeID Edge)
{
    const std::array<FVertexID, 3> Corners = Mesh.GetTriangleVertices(Triangle);
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        if (Corners[Corner] == Mesh.GetEdgeVertex(Edge, 0))
        {
            return Corners[(Corner + 1) % 3] == Mesh.GetEdgeVertex(Edge, 1) ? 1 : -1;
        }
    }
    return 0;
}

/** Every edge joins exactly two triangles that run along it in opposite directions. */
void ExpectClosedAndConsistentlyWound(const FMeshDescription& Mesh)
{
    for (const FEdgeID Edge : Mesh.Edges().GetElementIDs())
    {
        TArray<FTriangleID> Triangles;
        for (const FTriangleID Triangle : Mesh.GetEdgeConnectedTriangleIDs(Edge))
        {
            Triangles.Add(Triangle);
        }
        ASSERT_EQ(Triangles.Num(), 2) << "edge " << Edge.GetValue();
        ASSERT_EQ(EdgeDirection(Mesh, Triangles[0], Edge), -EdgeDirection(Mesh, Triangles[1], Edge))
            << "edge " << Edge.GetValue();
    }
}

/** Counter-clockwise seen from outside: each triangle's face normal agrees with its corners' normals. */
void ExpectWindingFollowsNormals(const FMeshDescription& Mesh)
{
    const auto Normals = FSkeletalMeshAttributesShared(Mesh).GetVertexInstanceNormals();
    for (const FTriangleID Triangle : Mesh.Triangles().GetElementIDs())
    {
        const std::array<FVector3f, 3> P = TriangleCornerPositions(Mesh, Triangle);
        const FVector3f Face = (P[1] - P[0]).Cross(P[2] - P[0]);
        FVector3f Corners(0.0f, 0.0f, 0.0f);
        for (const FVertexInstanceID Instance : Mesh.GetTriangleVertexInstances(Triangle))
        {
            Corners += Normals[Instance];
        }
        ASSERT_GT(Face.Dot(Corners), 0.0f) << "triangle " << Triangle.GetValue();
    }
}

/** Answers how many vertices have two influences; every vertex has one or two summing to 65535. */
int32 CountBlendedVertices(const FMeshDescription& Mesh, int32 NumBones)
{
    const auto Weights = FSkeletalMeshAttributesShared(Mesh).GetVertexSkinWeights();
    int32 Blended = 0;
    for (const FVertexID Vertex : Mesh.Vertices().GetElementIDs())
    {
        const std::span<const FBoneWeight> Influences = Weights.Get(Vertex);
        EXPECT_TRUE(Influences.size() == 1 || Influences.size() == 2) << "vertex " << Vertex.GetValue();
        int32 Sum = 0;
        for (const FBoneWeight& Influence : Influences)
        {
            EXPECT_LT(Influence.BoneIndex, NumBones);
            Sum += Influence.RawWeight;
        }
        EXPECT_EQ(Sum, FBoneWeight::MaxRawWeight) << "vertex " << Vertex.GetValue();
        Blended += Influences.size() == 2 ? 1 : 0;
    }
    return Blended;
}

TEST(DemoSweep, MakesTheCountedClosedSurfaceWithOutwardNormals)
{
    const FDemoSweep Sweep{FVector(1.0, 2.0, 3.0), FVector(4.0, -2.0, 19.0), FVector(1.0, 0.0, 0.0), 0.5, 7};
    const FVector Middle = (Sweep.Start + Sweep.End) * 0.5;
    const double Length = FVector::Distance(Sweep.Start, Sweep.End);
    for (const FDemoProfile& Profile :
         {MakeCapsuleProfile(Length, 4.0, 3.0, 2, 3), MakeCylinderProfile(Length, 2.0, 2)})
    {
        FMeshDescription Mesh;
        FSkeletalMeshAttributes(Mesh).Register();
        FDemoSweepBuilder(Mesh).Add(Sweep, Profile, Mesh.CreatePolygonGroup());

        const FDemoSweepCounts Counts = CountSweep(Profile, Sweep.Segments);
        EXPECT_EQ(Mesh.Vertices().Num(), Counts.Vertices);
        EXPECT_EQ(Mesh.VertexInstances().Num(), Counts.VertexInstances);
        EXPECT_EQ(Mesh.Triangles().Num(), Counts.Triangles);
        ExpectClosedAndConsistentlyWound(Mesh);
        ExpectWindingFollowsNormals(Mesh);
        // Both shapes are convex: every normal points away from the middle.
        const FSkeletalMeshAttributesShared Attributes(Mesh);
        for (const FVertexInstanceID Instance : Mesh.VertexInstances().GetElementIDs())
        {
            const FVector Position(Attributes.GetVertexPositions()[Mesh.GetVertexInstanceVertex(Instance)]);
            const FVector Normal(Attributes.GetVertexInstanceNormals()[Instance]);
            EXPECT_NEAR(Normal.Size(), 1.0, 1e-6);
            EXPECT_GT(Normal.Dot(Position - Middle), 0.0) << "instance " << Instance.GetValue();
        }
    }
}

class DemoCharacterTest : public ::testing::Test
{
protected:
    void SetUp() override { Character = BuildDemoCharacter(DemoPackage); }

    const FMeshDescription& Description(int32 LODIndex) const
    {
        return *Character.Mesh->GetMeshDescription(LODIndex);
    }

    FDemoCharacter Character;
};

TEST_F(DemoCharacterTest, PutsEveryAssetIntoOneCleanPackageWhoseNameGetsASuffixWhenTaken)
{
    ASSERT_NE(Character.Package, nullptr);
    EXPECT_FALSE(Character.Package->IsDirty());
    const FString Name = FPackageName::GetShortName(Character.Package->GetName());
    EXPECT_EQ(Character.Mesh->GetName(), Name);
    EXPECT_EQ(Character.Skeleton->GetName(), Name + "_Skeleton");
    EXPECT_EQ(Character.PhysicsAsset->GetName(), Name + "_Physics");
    ASSERT_EQ(Character.Animations.Num(), 1);
    EXPECT_EQ(Character.Animations[0]->GetName(), Name + "_Wave");
    for (const UObject* Asset :
         {static_cast<const UObject*>(Character.Mesh), static_cast<const UObject*>(Character.Skeleton),
          static_cast<const UObject*>(Character.PhysicsAsset),
          static_cast<const UObject*>(Character.Animations[0])})
    {
        EXPECT_EQ(Asset->GetOuter(), Character.Package);
    }
    EXPECT_EQ(Character.Mesh->GetSkeleton(), Character.Skeleton);
    EXPECT_EQ(Character.Mesh->GetPhysicsAsset(), Character.PhysicsAsset);
    EXPECT_TRUE(Character.Mesh->HasValidRenderData());

    const FDemoCharacter Second = BuildDemoCharacter(Character.Package->GetName());
    ASSERT_NE(Second.Package, nullptr);
    EXPECT_EQ(Second.Package->GetName(), Character.Package->GetName() + "_1");
    EXPECT_EQ(Second.Mesh->GetName(), Name + "_1");
}

TEST(DemoCharacter, RecordsNothingInAnOpenTransactionAndBuildsNothingUnderAnInvalidName)
{
    FTransactionBuffer& Undo = FTransactionBuffer::Get();
    Undo.Reset();
    FDemoCharacter Character;
    {
        FScopedTransaction Transaction(FText::FromString("Around the demo"));
        Character = BuildDemoCharacter(DemoPackage);
    }
    EXPECT_EQ(Undo.GetRecordCount(), 0);
    EXPECT_FALSE(Character.Package->IsDirty());
    Undo.Reset();

    FScopedLogCapture Log;
    const FDemoCharacter Invalid = BuildDemoCharacter("NoRoot");
    EXPECT_EQ(Invalid.Package, nullptr);
    EXPECT_EQ(Invalid.Mesh, nullptr);
    EXPECT_TRUE(Invalid.Animations.IsEmpty());
    EXPECT_EQ(FindPackage("NoRoot"), nullptr);
    EXPECT_TRUE(Log.ContainsMessage(FName("LogVantorEd"), "Cannot make a unique asset name"));
}

TEST_F(DemoCharacterTest, EveryLODIsClosedWoundOutwardBlendedAndSlottedAndStandsOnTheOriginAbout180Tall)
{
    ASSERT_EQ(Character.Mesh->GetLODNum(), 2);
    const int32 NumBones = Character.Mesh->GetRefSkeleton().GetNum();
    EXPECT_EQ(Character.Skeleton->GetReferenceSkeleton().GetRefBoneInfo(),
              Character.Mesh->GetRefSkeleton().GetRefBoneInfo());
    EXPECT_EQ(Character.Mesh->GetRefBasesInvMatrix().Num(), NumBones);
    const TArray<FName> Slots = SlotNames(*Character.Mesh, &FSkeletalMaterial::ImportedMaterialSlotName);
    EXPECT_EQ(Slots, (TArray<FName>{"Skin", "Shirt", "Trousers", "Shoes"}));
    for (int32 LODIndex = 0; LODIndex < 2; ++LODIndex)
    {
        SCOPED_TRACE(LODIndex);
        const FMeshDescription& Mesh = Description(LODIndex);
        ExpectConsistent(Mesh);
        ExpectClosedAndConsistentlyWound(Mesh);
        ExpectWindingFollowsNormals(Mesh);
        EXPECT_EQ(Character.Mesh->GetImportedModel()->LODModels[LODIndex].GetNumTriangles(),
                  Mesh.Triangles().Num());
        EXPECT_GE(CountBlendedVertices(Mesh, NumBones), 2);
        EXPECT_EQ(GroupSlotNames(Mesh), Slots);
        EXPECT_FALSE(CountTrianglesPerGroup(Mesh).Contains(0)) << "every group has triangles";
    }
    EXPECT_LT(Description(1).Triangles().Num(), Description(0).Triangles().Num() / 2);
    EXPECT_EQ(Character.Mesh->GetLODInfo(1)->ScreenSize, Character.Mesh->GetLODInfo(0)->ScreenSize / 2);

    const FBox Box = Character.Mesh->GetImportedBounds().GetBox();
    EXPECT_NEAR(Box.Min.Z, 0.0, 0.01);
    EXPECT_NEAR(Box.Max.Z, 181.0, 0.01);
    EXPECT_NEAR(Box.Min.X, -Box.Max.X, 0.01) << "left and right mirror each other";
}

TEST_F(DemoCharacterTest, CarriesASmileSocketsBodiesAlongTheBonesAndARightArmWaveInALoop)
{
    const UMorphTarget* Smile = Character.Mesh->FindMorphTarget("Smile");
    ASSERT_NE(Smile, nullptr);
    EXPECT_TRUE(Smile->HasDataForLOD(0));
    EXPECT_TRUE(Smile->HasDataForLOD(1));
    const FMorphTargetLODData& Deltas = Smile->GetMorphLODModels()[0];
    EXPECT_TRUE(std::any_of(Deltas.Vertices.begin(), Deltas.Vertices.end(),
                            [](const FMorphTargetDelta& Delta)
                            { return !Delta.NormalDelta.IsNearlyZero(); }));

    EXPECT_EQ(Character.Mesh->GetMeshOnlySocketList().Num(), 2);
    EXPECT_NE(Character.Skeleton->FindSocket("Chest_Back"), nullptr) << "and the skeleton has its own";

    const UPhysicsAsset& Physics = *Character.PhysicsAsset;
    EXPECT_EQ(Physics.SkeletalBodySetups.Num(), 16);
    EXPECT_EQ(Physics.ConstraintSetup.Num(), 15) << "one per body but the root one";
    EXPECT_NE(Physics.FindConstraintIndex("Head", "Chest"), INDEX_NONE) << "Neck has no body";

    // The thigh's capsule runs from the hip to the knee.
    const FReferenceSkeleton& Bones = Character.Mesh->GetRefSkeleton();
    const FKCapsuleElem& Thigh =
        Physics.SkeletalBodySetups[Physics.FindBodyIndex("Thigh_R")]->AggGeom.CapsuleElems[0];
    const FVector Knee = Bones.GetRefBonePose()[Bones.FindBoneIndex("Calf_R")].GetTranslation();
    EXPECT_TRUE(Thigh.Center.Equals(Knee * 0.5));
    const FVector Axis = Thigh.Rotation.RotateVector(FVector::UpVector);
    EXPECT_NEAR(std::abs(Axis.Dot(Knee.GetSafeNormal())), 1.0, 1e-6);
    EXPECT_NEAR(Thigh.Length + 2.0 * Thigh.Radius, Knee.Size(), 1e-4);

    const UAnimationDataModel& Wave = *Character.Animations[0]->GetDataModel();
    EXPECT_EQ(Character.Animations[0]->GetSkeleton(), Character.Skeleton);
    EXPECT_EQ(Wave.GetNumberOfKeys(), 31);
    EXPECT_DOUBLE_EQ(Wave.GetPlayLength(), 1.0);
    EXPECT_GE(Wave.GetBoneAnimationTracks().Num(), 3);
    const FAnimationBoneTrack* Arm = Wave.FindBoneTrackByName("UpperArm_R");
    ASSERT_NE(Arm, nullptr);
    EXPECT_TRUE(Arm->RotationKeys[0].Equals(Arm->RotationKeys.Last()));
    EXPECT_TRUE(Arm->RotationKeys[0].Equals(FQuat4f::Identity)) << "it starts from the reference pose";
    EXPECT_GT(Arm->RotationKeys[15].GetAngle(), 2.0f) << "the arm is raised half-way through";
}
} // namespace
