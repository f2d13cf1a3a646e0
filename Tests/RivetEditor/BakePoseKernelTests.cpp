#include "BakeTestSupport.h"

#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetBakePoseKernel.h"
#include "Support/MeshBuilders.h"

namespace
{
/** Every one of the grids' 64 bones moving alike. */
TArray<FTransform> SameMoveForEveryBone(const FTransform& Move)
{
    TArray<FTransform> Moves;
    Moves.Init(Move, 64);
    return Moves;
}

void ExpectNear(const FVector3f& Actual, const FVector& Expected)
{
    EXPECT_TRUE(FVector(Actual).Equals(Expected, 1e-5)) << Actual.ToString() << " vs " << Expected.ToString();
}
} // namespace

TEST(BakePoseKernel, AMoveSharedByEveryBoneMovesTurnsAndScalesEverythingAlike)
{
    FMeshDescription Mesh = BuildSkinnedGrid(
        {.QuadsX = 4, .QuadsY = 2, .bHardEdge = true, .bMorphTarget = true, .bMorphNormals = true});
    FSkeletalMeshAttributes Attributes(Mesh);
    const FVertexID Corner(0); // Smile's delta is 0.1 * X, zero here: make it tiny instead.
    Attributes.GetVertexMorphPositionDelta("Smile")[Corner] = FVector3f(5e-5f, 0.0f, 0.0f);
    const FMeshDescription Before = Mesh;
    const FSkeletalMeshAttributesShared Old(Before);
    const FTransform Move = Turn(FVector(0, 0.6, 0.8), 90.0, FVector(1, 2, 3), 2.0);

    const FRivetPoseBake Baked = BakePoseIntoMeshDescription(Mesh, SameMoveForEveryBone(Move));

    EXPECT_EQ(Baked.VerticesMoved, Mesh.Vertices().Num());
    EXPECT_EQ(Baked.MorphTargets, 2);
    EXPECT_EQ(Baked.SampleBefore, Old.GetVertexPositions()[FVertexID(0)]);
    EXPECT_EQ(Baked.SampleAfter, Attributes.GetVertexPositions()[FVertexID(0)]);
    const FQuat& Rotation = Move.GetRotation();
    for (const FVertexID Vertex : Mesh.Vertices().GetElementIDs())
    {
        ExpectNear(Attributes.GetVertexPositions()[Vertex],
                   Move.TransformPosition(FVector(Old.GetVertexPositions()[Vertex])));
        const FVector3f OldDelta = Old.GetVertexMorphPositionDelta("Smile")[Vertex];
        const FVector Delta =
            Vertex == Corner ? FVector(OldDelta) : Rotation.RotateVector(FVector(OldDelta)) * 2.0;
        ExpectNear(Attributes.GetVertexMorphPositionDelta("Smile")[Vertex], Delta);
    }
    for (const FVertexInstanceID Instance : Mesh.VertexInstances().GetElementIDs())
    {
        const auto Turned = [&](const FVector3f& Vector)
        {
            return Rotation.RotateVector(FVector(Vector));
        };
        ExpectNear(Attributes.GetVertexInstanceNormals()[Instance],
                   Turned(Old.GetVertexInstanceNormals()[Instance]));
        ExpectNear(Attributes.GetVertexInstanceTangents()[Instance],
                   Turned(Old.GetVertexInstanceTangents()[Instance]));
        ExpectNear(Attributes.GetVertexInstanceMorphNormalDelta("Frown")[Instance],
                   Turned(Old.GetVertexInstanceMorphNormalDelta("Frown")[Instance]));
    }
}

TEST(BakePoseKernel, OpposedTurnsOfNearlyAHalfTurnBlendToAHalfTurn)
{
    // Each vertex of the quad is weighted about half to bone v and half to bone v + 1.
    FMeshDescription Mesh = BuildSkinnedGrid({.QuadsX = 1, .QuadsY = 1, .InfluencesPerVertex = 2});
    TArray<FTransform> Moves;
    for (int32 Bone = 0; Bone < 5; ++Bone)
    {
        Moves.Add(Turn(FVector(1, 0, 0), Bone % 2 == 0 ? 170.0 : -170.0));
    }

    BakePoseIntoMeshDescription(Mesh, Moves);

    const FSkeletalMeshAttributesShared Attributes(Mesh);
    for (const FVertexInstanceID Instance : Mesh.VertexInstances().GetElementIDs())
    {
        ExpectNear(Attributes.GetVertexInstanceNormals()[Instance], FVector(0, 0, -1));
        ExpectNear(Attributes.GetVertexInstanceTangents()[Instance], FVector(1, 0, 0));
    }
}

TEST(BakePoseKernel, VerticesWithoutAUsableWeightStayAndOnlyTheirNormalsAreRenormalized)
{
    FMeshDescription Mesh = BuildSkinnedGrid({.QuadsX = 2, .QuadsY = 1, .bMorphTarget = true});
    FSkeletalMeshAttributes Attributes(Mesh);
    const TArray<TArray<FBoneWeight>> Unusable = {{}, {FBoneWeight{64, 65535}}, {FBoneWeight{3, 0}}};
    for (int32 Vertex = 0; Vertex < Unusable.Num(); ++Vertex)
    {
        Attributes.GetVertexSkinWeights().Set(FVertexID(Vertex), Unusable[Vertex]);
    }
    const FVertexInstanceID Stretched(0);
    ASSERT_EQ(Mesh.GetVertexInstanceVertex(Stretched), FVertexID(0));
    Attributes.GetVertexInstanceNormals()[Stretched] = FVector3f(0.0f, 0.0f, 3.0f);
    const FMeshDescription Before = Mesh;
    const FSkeletalMeshAttributesShared Old(Before);

    const FRivetPoseBake Baked =
        BakePoseIntoMeshDescription(Mesh, SameMoveForEveryBone(Turn(FVector(0, 0, 1), 90.0, FVector(), 3.0)));

    EXPECT_EQ(Baked.VerticesMoved, Mesh.Vertices().Num() - 3);
    EXPECT_EQ(Baked.SampleBefore, Old.GetVertexPositions()[FVertexID(3)]) << "the first vertex moved";
    for (int32 Vertex = 0; Vertex < 3; ++Vertex)
    {
        EXPECT_EQ(Attributes.GetVertexPositions()[FVertexID(Vertex)],
                  Old.GetVertexPositions()[FVertexID(Vertex)]);
        EXPECT_EQ(Attributes.GetVertexMorphPositionDelta("Smile")[FVertexID(Vertex)],
                  Old.GetVertexMorphPositionDelta("Smile")[FVertexID(Vertex)]);
    }
    EXPECT_EQ(Attributes.GetVertexInstanceNormals()[Stretched], FVector3f(0.0f, 0.0f, 1.0f));

    // Moves that move nothing rewrite and count every skinned vertex, in its own place (up to rounding).
    Mesh = Before;
    EXPECT_EQ(BakePoseIntoMeshDescription(Mesh, SameMoveForEveryBone(FTransform::Identity)).VerticesMoved,
              Mesh.Vertices().Num() - 3);
    for (const FVertexID Vertex : Mesh.Vertices().GetElementIDs())
    {
        ExpectNear(Attributes.GetVertexPositions()[Vertex], FVector(Old.GetVertexPositions()[Vertex]));
    }
}
