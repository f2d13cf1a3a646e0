#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/ObjectDuplication.h"
#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Object/StrongObjectPtr.h"
#include "CoreUObject/Object/WeakObjectPtr.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Host/Engine/EngineTestUtil.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/MeshBuilders.h"
#include "Support/MeshEdits.h"
#include "Support/SkeletalMeshSnapshot.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
/** A mesh in its own package with a committed LOD 0: three used slots, one empty group, two morphs. */
class SkeletalMeshTest : public testing::Test
{
protected:
    void SetUp() override
    {
        FTransactionBuffer::Get().Reset();
        Package = CreatePackage(FString::Printf("/Game/MeshTests/Mesh%d", ++Counter));
        Mesh = NewObject<USkeletalMesh>(Package, FName("Mesh"));
        Mesh->AddLODInfo();
        Mesh->CreateMeshDescription(0, BuildSkinnedGrid({.QuadsX = 6,
                                                         .NumGroups = 3,
                                                         .bEmptyGroup = true,
                                                         .bMorphTarget = true,
                                                         .bMorphNormals = true}));
        for (int32 Slot = 0; Slot < 4; ++Slot)
        {
            const FName Name(FString::Printf("Slot_%d", Slot));
            Mesh->GetMaterials().Add(FSkeletalMaterial(NewObject<UMaterial>(Package), Name, Name));
        }
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
        Mesh->PostEditChange();
        Package->SetDirtyFlag(false);
    }

    FMeshDescription& Description() const { return *Mesh->GetMeshDescription(0); }
    const FImportedLODModel& LOD0() const { return Mesh->GetImportedModel()->LODModels[0]; }

    static inline int32 Counter = 0;
    UPackage* Package = nullptr;
    USkeletalMesh* Mesh = nullptr;
};

using FTriple = std::array<int32, 3>;

/** Each section's triangles as vertex instance triples, sorted: what the section draws. */
TArray<TArray<FTriple>> SectionTriangles(const FImportedLODModel& Model)
{
    TArray<TArray<FTriple>> Result;
    for (const FImportedSection& Section : Model.Sections)
    {
        Result.Add({});
        TArray<FTriple>& Triangles = Result.Last();
        for (int32 Triangle = 0; Triangle < Section.NumTriangles; ++Triangle)
        {
            FTriple Corners;
            for (int32 Corner = 0; Corner < 3; ++Corner)
            {
                const uint32 RenderVertex = Model.IndexBuffer[Section.BaseIndex + 3 * Triangle + Corner];
                EXPECT_GE(static_cast<int32>(RenderVertex), Section.BaseVertexIndex);
                EXPECT_LT(static_cast<int32>(RenderVertex), Section.BaseVertexIndex + Section.NumVertices);
                Corners[Corner] = Model.RenderVertexInstances[RenderVertex];
            }
            Triangles.Add(Corners);
        }
        Triangles.Sort();
    }
    return Result;
}

/** The description's triangles as vertex instance triples for one group, sorted. */
TArray<FTriple> GroupTriangles(const FMeshDescription& Description, int32 Group)
{
    TArray<FTriple> Triangles;
    for (const FTriangleID Triangle : TrianglesInGroup(Description, Group))
    {
        const auto& Instances = Description.GetTriangleVertexInstances(Triangle);
        Triangles.Add({Instances[0].GetValue(), Instances[1].GetValue(), Instances[2].GetValue()});
    }
    Triangles.Sort();
    return Triangles;
}

void ExpectModelDrawsDescription(const FImportedLODModel& Model, const FMeshDescription& Description)
{
    const TArray<int32> Counts = CountTrianglesPerGroup(Description);
    const TArray<TArray<FTriple>> Drawn = SectionTriangles(Model);
    int32 SectionIndex = 0;
    for (int32 Group = 0; Group < Counts.Num(); ++Group)
    {
        if (Counts[Group] == 0)
        {
            continue;
        }
        ASSERT_LT(SectionIndex, Model.Sections.Num());
        EXPECT_EQ(Model.Sections[SectionIndex].MaterialIndex, Group);
        EXPECT_EQ(Model.Sections[SectionIndex].NumTriangles, Counts[Group]);
        EXPECT_EQ(Drawn[SectionIndex], GroupTriangles(Description, Group));
        ++SectionIndex;
    }
    EXPECT_EQ(SectionIndex, Model.Sections.Num());
}
} // namespace

TEST_F(SkeletalMeshTest, CommitBuildsOneSectionPerUsedGroupInGroupOrder)
{
    // The empty group makes no section, nor does a group whose triangles are all deleted.
    ASSERT_EQ(Mesh->GetImportedModel()->LODModels.Num(), 1);
    ExpectModelDrawsDescription(LOD0(), Description());
    EXPECT_EQ(LOD0().GetNumTriangles(), Description().Triangles().Num());

    DeleteTrianglesAndUnusedElements(Description(), TrianglesInGroup(Description(), 1));
    Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    ExpectModelDrawsDescription(LOD0(), Description());
}

TEST_F(SkeletalMeshTest, CommitKeepsImportedBoundsInStepWithLOD0)
{
    const FBoxSphereBounds Before = Mesh->GetImportedBounds();
    EXPECT_EQ(Before.GetBox(), FBox(FVector(0.0, 0.0, 0.0), FVector(6.0, 4.0, 0.0)));

    FSkeletalMeshAttributes(Description()).GetVertexPositions()[FVertexID(0)] = FVector3f(-2.0f, -3.0f, 5.0f);
    Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    EXPECT_EQ(Mesh->GetImportedBounds().GetBox(), FBox(FVector(-2.0, -3.0, 0.0), FVector(6.0, 4.0, 5.0)));

    const int32 LOD1 = Mesh->AddLODInfo();
    Mesh->CreateMeshDescription(LOD1, BuildSkinnedGrid());
    const FBoxSphereBounds AfterLOD0 = Mesh->GetImportedBounds();
    Mesh->CommitMeshDescription(LOD1, FCommitMeshDescriptionParams());
    EXPECT_EQ(Mesh->GetImportedBounds(), AfterLOD0) << "only LOD 0 sets the bounds";
}

TEST_F(SkeletalMeshTest, CommitRebuildsMorphTargetsFromTheDescriptionAndATargetAddedAgainKeepsItsObject)
{
    ASSERT_EQ(Mesh->GetMorphTargets().Num(), 2);
    const FSkeletalMeshAttributesShared Attributes(Description());
    for (const FName Name : {FName("Smile"), FName("Frown")})
    {
        const UMorphTarget* MorphTarget = Mesh->FindMorphTarget(Name);
        ASSERT_NE(MorphTarget, nullptr);
        EXPECT_EQ(MorphTarget->GetOuter(), Mesh);
        ASSERT_TRUE(MorphTarget->HasDataForLOD(0));
        const FMorphTargetLODData& Data = MorphTarget->GetMorphLODModels()[0];
        EXPECT_EQ(Data.NumBaseMeshVertices, LOD0().GetNumVertices());
        const auto Positions = Attributes.GetVertexMorphPositionDelta(Name);
        for (const FMorphTargetDelta& Delta : Data.Vertices)
        {
            const FVertexInstanceID Instance(LOD0().RenderVertexInstances[Delta.SourceIdx]);
            EXPECT_EQ(Delta.PositionDelta, Positions[Description().GetVertexInstanceVertex(Instance)]);
        }
    }
    EXPECT_FALSE(Mesh->FindMorphTarget("Frown")->GetMorphLODModels()[0].Vertices[0].NormalDelta ==
                 FVector3f(0.0f, 0.0f, 0.0f));

    const UMorphTarget* Frown = Mesh->FindMorphTarget("Frown");
    for (int32 Cycle = 0; Cycle < 3; ++Cycle)
    {
        FSkeletalMeshAttributes Editable(Description());
        Editable.UnregisterMorphTargetAttribute("Frown");
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
        ASSERT_EQ(Mesh->FindMorphTarget("Frown"), nullptr) << "a target with no deltas left in any LOD goes";
        ASSERT_NE(Mesh->FindMorphTarget("Smile"), nullptr);
        Editable.RegisterMorphTargetAttribute("Frown", false);
        Editable.GetVertexMorphPositionDelta("Frown")[FVertexID(1)] = FVector3f(0.0f, 0.0f, 1.0f);
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    }
    EXPECT_EQ(Mesh->FindMorphTarget("Frown"), Frown) << "a target added again reuses its object";
    ASSERT_EQ(Frown->GetMorphLODModels().Num(), 1);
    EXPECT_FALSE(Frown->GetMorphLODModels()[0].Vertices.IsEmpty());
    int32 MorphObjects = 0;
    ForEachObjectOfClass<UMorphTarget>([&](UMorphTarget* Target)
                                       { MorphObjects += Target->GetOuter() == Mesh; });
    EXPECT_EQ(MorphObjects, 2);
}

TEST_F(SkeletalMeshTest, EachCommitFlagControlsItsEffect)
{
    const FSkeletalMeshImportedModel Model = *Mesh->GetImportedModel();
    const FBoxSphereBounds Bounds = Mesh->GetImportedBounds();
    const FGuid Key = Mesh->GetDerivedDataKey();
    FSkeletalMeshAttributes Attributes(Description());
    Attributes.GetVertexPositions()[FVertexID(0)] = FVector3f(0.0f, 0.0f, 9.0f);
    DeleteTrianglesAndUnusedElements(Description(), std::array{FTriangleID(0)});

    Mesh->CommitMeshDescription(0, {.bMarkPackageDirty = false,
                                    .bRebuildImportedModel = false,
                                    .bRebuildMorphTargets = false,
                                    .bUpdateImportedBounds = false,
                                    .bInvalidateDerivedData = false});
    EXPECT_EQ(*Mesh->GetImportedModel(), Model);
    EXPECT_EQ(Mesh->GetImportedBounds(), Bounds);
    EXPECT_EQ(Mesh->GetDerivedDataKey(), Key);
    EXPECT_TRUE(Mesh->HasValidRenderData());
    EXPECT_FALSE(Package->IsDirty());

    Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    EXPECT_NE(*Mesh->GetImportedModel(), Model);
    EXPECT_NE(Mesh->GetImportedBounds(), Bounds);
    EXPECT_NE(Mesh->GetDerivedDataKey(), Key);
    EXPECT_FALSE(Mesh->HasValidRenderData()) << "render data waits for the post-edit-change";
    EXPECT_TRUE(Package->IsDirty());
}

TEST_F(SkeletalMeshTest, RecomputedNormalsFollowTheTrianglesKeepTangentsPerpendicularAndAreRecorded)
{
    const FMeshDescription Before = Description();
    FSkeletalMeshAttributes Attributes(Description());
    const auto Normals = Attributes.GetVertexInstanceNormals();
    const auto Tangents = Attributes.GetVertexInstanceTangents();
    {
        // The edit before the commit is not announced; the commit records what it changes itself.
        FScopedTransaction Transaction(FText::FromString("Normals"));
        for (const FVertexInstanceID Instance : Description().VertexInstances().GetElementIDs())
        {
            Normals[Instance] = FVector3f(1.0f, 0.0f, 0.0f);
            Tangents[Instance] = FVector3f(1.0f, 1.0f, 0.0f).GetSafeNormal();
        }
        FScopedTransaction Inner(FText::FromString("Commit"));
        Mesh->CommitMeshDescription(0, {.bRecomputeNormals = true});
    }
    for (const FVertexInstanceID Instance : Description().VertexInstances().GetElementIDs())
    {
        EXPECT_NEAR(std::abs(Normals[Instance].Z), 1.0f, 1e-6f);
        EXPECT_NEAR(Normals[Instance].Dot(Tangents[Instance]), 0.0f, 1e-6f);
        EXPECT_NEAR(Tangents[Instance].Size(), 1.0f, 1e-6f);
    }

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_FALSE(Description() == Before);
    EXPECT_EQ(FSkeletalMeshAttributes(Description()).GetVertexInstanceNormals()[FVertexInstanceID(0)],
              FVector3f(1.0f, 0.0f, 0.0f));
}

TEST_F(SkeletalMeshTest, UndoOfADescriptionEditRestoresDescriptionAndDerivedData)
{
    const FSkeletalMeshSnapshot Before(*Mesh);
    int32 Notifications = 0;
    Mesh->OnMeshChanged().Add([&](USkeletalMesh*) { ++Notifications; });
    {
        FScopedTransaction Transaction(FText::FromString("Edit"));
        Mesh->Modify(true);
        ASSERT_TRUE(Mesh->ModifyMeshDescription(0, true));
        ASSERT_TRUE(Mesh->ModifyMeshDescription(0, true));
        DeleteTrianglesAndUnusedElements(Description(), std::array{FTriangleID(0), FTriangleID(5)});
        Description().Compact();
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
        Mesh->PostEditChange();
    }
    EXPECT_EQ(FTransactionBuffer::Get().GetRecordCount(), 4) << "the mesh, its description, two morphs";
    const FSkeletalMeshSnapshot After(*Mesh);
    ASSERT_NE(After.Descriptions[0]->Triangles().Num(), Before.Descriptions[0]->Triangles().Num());

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == Before);
    EXPECT_GE(Notifications, 2) << "the views hear of the undo";

    ASSERT_TRUE(FTransactionBuffer::Get().Redo());
    EXPECT_TRUE(FSkeletalMeshSnapshot(*Mesh) == After);
}

TEST_F(SkeletalMeshTest, UndoOfRemovingALODRestoresItAndALODAddedAfterARemovalStartsEmpty)
{
    const int32 LOD1 = Mesh->AddLODInfo();
    Mesh->CreateMeshDescription(LOD1, BuildSkinnedGrid());
    Mesh->CommitMeshDescription(LOD1, FCommitMeshDescriptionParams());
    Mesh->GetLODInfo(LOD1)->LODMaterialMap = {2, INDEX_NONE};
    const FSkeletalLODInfo Info = *Mesh->GetLODInfo(LOD1);
    const FMeshDescription Geometry = *Mesh->GetMeshDescription(LOD1);
    EXPECT_EQ(Info.ScreenSize, 0.5f);
    {
        FScopedTransaction Transaction(FText::FromString("Remove LOD"));
        Mesh->Modify(true);
        Mesh->RemoveLODInfo(LOD1);
    }
    EXPECT_EQ(Mesh->GetLODNum(), 1);
    EXPECT_EQ(Mesh->GetMeshDescription(LOD1), nullptr);
    EXPECT_EQ(Mesh->GetImportedModel()->LODModels.Num(), 2) << "the imported model is the caller's to trim";

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    ASSERT_EQ(Mesh->GetLODNum(), 2);
    EXPECT_EQ(*Mesh->GetLODInfo(LOD1), Info);
    ASSERT_NE(Mesh->GetMeshDescription(LOD1), nullptr);
    EXPECT_TRUE(*Mesh->GetMeshDescription(LOD1) == Geometry);

    Mesh->RemoveLODInfo(LOD1);
    ASSERT_EQ(Mesh->AddLODInfo(), LOD1);
    EXPECT_EQ(Mesh->GetImportedModel()->LODModels[LOD1], FImportedLODModel());
    EXPECT_EQ(Mesh->GetMeshDescription(LOD1), nullptr);
    // Without a description there is nothing to modify.
    Package->SetDirtyFlag(false);
    FScopedTransaction Transaction(FText::FromString("Edit"));
    EXPECT_FALSE(Mesh->ModifyMeshDescription(LOD1, true));
    EXPECT_FALSE(Mesh->ModifyMeshDescription(7, true));
    EXPECT_FALSE(Package->IsDirty());
}

TEST_F(SkeletalMeshTest, InverseReferenceMatricesUndoTheComponentSpacePose)
{
    const FReferenceSkeleton Bones = EngineTest::MakeReferenceSkeleton(
        {{"Root", nullptr, FTransform(FQuat(FVector(0, 0, 1), 0.5), FVector(1, 2, 3))},
         {"Child", "Root", FTransform(FQuat(FVector(1, 0, 0), 0.25), FVector(0, 0, 10))}});
    Mesh->SetRefSkeleton(Bones);
    Mesh->CalculateInvRefMatrices();
    ASSERT_EQ(Mesh->GetRefBasesInvMatrix().Num(), 2);
    const FTransform ChildComponent = Bones.GetRefBonePose()[1] * Bones.GetRefBonePose()[0];
    const FVector Point(4.0, -5.0, 6.0);
    const FVector Bound = ChildComponent.TransformPosition(Point);
    const FVector Back = FVector(FMatrix(Mesh->GetRefBasesInvMatrix()[1]).TransformPosition(Bound));
    EXPECT_TRUE(Back.Equals(Point, 1e-4));

    Mesh->GetRefBasesInvMatrix()[0] = FMatrix44f();
    Mesh->CalculateInvRefMatrices();
    EXPECT_EQ(Mesh->GetRefBasesInvMatrix()[0], FMatrix44f()) << "matrices that match the bone count are kept";
    Mesh->GetRefBasesInvMatrix().Empty();
    Mesh->CalculateInvRefMatrices();
    EXPECT_EQ(Mesh->GetRefBasesInvMatrix().Num(), 2);
}

TEST_F(SkeletalMeshTest, TheMeshKeepsItsMaterialsAndMorphTargetsAlive)
{
    UMaterial* Material = NewObject<UMaterial>(GetTransientPackage());
    Mesh->GetMaterials()[0].Material = Material;
    const TWeakObjectPtr<UMaterial> Weak(Material);
    const TStrongObjectPtr<USkeletalMesh> Keep(Mesh);
    CollectGarbage();
    EXPECT_TRUE(Weak.IsValid());
    EXPECT_NE(Mesh->FindMorphTarget("Smile"), nullptr);
}

TEST_F(SkeletalMeshTest, ADuplicateOwnsAnExactCopyOfEveryDescription)
{
    DeleteTrianglesAndUnusedElements(Description(), std::array{FTriangleID(3)});
    Mesh->GetMeshOnlySocketList().Add(NewObject<USkeletalMeshSocket>(Mesh));
    USkeletalMesh* Copy = DuplicateObject(
        Mesh, CreatePackage(FString::Printf("/Game/MeshTests/Copy%d", Counter)), FName("Copy"));
    ASSERT_NE(Copy, nullptr);
    ASSERT_NE(Copy->GetMeshDescription(0), Mesh->GetMeshDescription(0));
    EXPECT_TRUE(*Copy->GetMeshDescription(0) == Description()) << "IDs, holes and attributes alike";
    EXPECT_EQ(*Copy->GetImportedModel(), *Mesh->GetImportedModel());
    EXPECT_EQ(Copy->GetMaterials(), Mesh->GetMaterials()) << "materials outside the mesh are shared";
    ASSERT_NE(Copy->FindMorphTarget("Smile"), nullptr);
    EXPECT_EQ(Copy->FindMorphTarget("Smile")->GetOuter(), Copy) << "morph targets inside the mesh are copied";
    EXPECT_EQ(Copy->GetMeshOnlySocketList()[0]->GetOuter(), Copy) << "and so are its sockets";

    DeleteTrianglesAndUnusedElements(*Copy->GetMeshDescription(0), std::array{FTriangleID(0)});
    EXPECT_EQ(Description().Triangles().Num(), Copy->GetMeshDescription(0)->Triangles().Num() + 1);
}

TEST_F(SkeletalMeshTest, UndoRestoresTheMeshSocketsAndTheirSettings)
{
    USkeletalMeshSocket* Weapon = NewObject<USkeletalMeshSocket>(Mesh);
    Weapon->SocketName = "Weapon";
    Weapon->BoneName = "Root";
    Mesh->GetMeshOnlySocketList().Add(Weapon);
    {
        FScopedTransaction Transaction(FText::FromString("Sockets"));
        Mesh->Modify(true);
        Weapon->Modify(true);
        Weapon->RelativeLocation = FVector(1.0, 2.0, 3.0);
        Weapon->RelativeRotation = FRotator(10.0, 20.0, 30.0);
        Mesh->GetMeshOnlySocketList().Add(NewObject<USkeletalMeshSocket>(Mesh));
    }
    ASSERT_EQ(Mesh->GetMeshOnlySocketList().Num(), 2);

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    ASSERT_EQ(Mesh->GetMeshOnlySocketList().Num(), 1);
    EXPECT_EQ(Mesh->FindSocket("Weapon"), Weapon);
    EXPECT_EQ(Weapon->RelativeLocation, FVector(0.0, 0.0, 0.0));
    EXPECT_EQ(Weapon->RelativeRotation, FRotator());
}

TEST_F(SkeletalMeshTest, AsyncWorkFinishesBeforeTheMeshIsRecordedOrRestored)
{
    FBoxSphereBounds Pending(FVector(1.0, 1.0, 1.0), FVector(2.0, 2.0, 2.0), 3.0);
    const FBoxSphereBounds Before = Mesh->GetImportedBounds();
    Mesh->LockPropertiesForAsyncWork(ESkeletalMeshAsyncProperties::ImportedBounds,
                                     [&] { Mesh->SetImportedBounds(Pending); });
    {
        FScopedTransaction Transaction(FText::FromString("Edit"));
        Mesh->Modify(true);
        EXPECT_FALSE(Mesh->IsAsyncPropertyLocked(ESkeletalMeshAsyncProperties::ImportedBounds));
        Mesh->SetImportedBounds(FBoxSphereBounds());
    }
    Mesh->LockPropertiesForAsyncWork(ESkeletalMeshAsyncProperties::ImportedBounds,
                                     [&] { Mesh->SetImportedBounds(Before); });
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Mesh->GetImportedBounds(), Pending) << "the undo restores what the finished work wrote";
}
