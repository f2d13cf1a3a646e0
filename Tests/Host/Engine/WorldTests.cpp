#include "CoreUObject/Object/Package.h"
#include "Engine/Components/SkeletalMeshComponent.h"
#include "Engine/Components/StaticMeshComponent.h"
#include "Engine/World/World.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

namespace
{
class WorldTest : public testing::Test
{
protected:
    UWorld* World = NewObject<UWorld>(GetTransientPackage());
};
} // namespace

TEST_F(WorldTest, ActorsAndTheirComponentsRegisterWithTheWorldInOrderUntilDestroyed)
{
    UActor* First = World->SpawnActor<UActor>(FName("First"));
    UActor* Second = World->SpawnActor<UActor>();
    USkeletalMeshComponent* Mesh = Second->AddComponent<USkeletalMeshComponent>();
    UStaticMeshComponent* Prop = Second->AddComponent<UStaticMeshComponent>();

    EXPECT_EQ(World->GetActors(), (TArray<TObjectPtr<UActor>>{First, Second}));
    EXPECT_EQ(First->GetWorld(), World);
    EXPECT_EQ(Mesh->GetOwner(), Second);
    EXPECT_EQ(Mesh->GetWorld(), World);
    EXPECT_EQ(World->GetRegisteredComponents(), (TArray<TObjectPtr<UActorComponent>>{Mesh, Prop}));

    int32 Primitives = 0;
    Second->ForEachComponent<UPrimitiveComponent>([&](UPrimitiveComponent*) { ++Primitives; });
    EXPECT_EQ(Primitives, 2);
    Second->ForEachComponent<USkeletalMeshComponent>([&](USkeletalMeshComponent* Found)
                                                     { EXPECT_EQ(Found, Mesh); });

    World->DestroyActor(Second);
    World->DestroyActor(Second);
    EXPECT_TRUE(Second->IsActorBeingDestroyed());
    EXPECT_EQ(World->GetActors(), TArray<TObjectPtr<UActor>>{First});
    TArray<UActor*> Visited;
    World->ForEachActor([&Visited](UActor* Actor) { Visited.Add(Actor); });
    EXPECT_EQ(Visited, TArray<UActor*>{First}) << "iteration skips destroyed actors";
    EXPECT_FALSE(Prop->IsRegistered());
    EXPECT_TRUE(World->GetRegisteredComponents().IsEmpty()) << "each component unregistered once";
}

TEST_F(WorldTest, ASkeletalMeshComponentShowsItsMeshInTheReferencePoseAndRedrawsWhenItChangesOrIsUndone)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset({.PackageName = "/Game/World/ComponentMesh"});
    USkeletalMeshComponent* Component = World->SpawnActor<UActor>()->AddComponent<USkeletalMeshComponent>();
    Component->SetWorldLocation(FVector(0.0, 0.0, 10.0));
    const int32 Revision = Component->GetRenderStateRevision();

    Component->SetSkeletalMeshAsset(Asset.Mesh);

    const TArray<FTransform>& Pose = Component->GetComponentSpaceTransforms();
    ASSERT_EQ(Pose.Num(), 4);
    EXPECT_TRUE(Pose[2].GetTranslation().Equals(FVector(4.0, 0.0, 0.0)));
    EXPECT_TRUE(Pose[3].GetTranslation().Equals(FVector(2.0, 2.0, 0.0)));
    EXPECT_GT(Component->GetRenderStateRevision(), Revision);
    const FBox MeshBox = Asset.Mesh->GetImportedBounds().GetBox();
    EXPECT_NEAR(Component->GetBounds().Origin.Z, 10.0 + MeshBox.GetCenter().Z, 1e-9);

    const int32 Shown = Component->GetRenderStateRevision();
    {
        FScopedTransaction Transaction(FText::FromString("Edit"));
        Asset.Mesh->Modify();
        Asset.Mesh->PostEditChange();
    }
    EXPECT_EQ(Component->GetRenderStateRevision(), Shown + 1);
    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Component->GetRenderStateRevision(), Shown + 2);

    Component->SetSkeletalMeshAsset(nullptr);
    EXPECT_TRUE(Component->GetComponentSpaceTransforms().IsEmpty());
    const int32 Cleared = Component->GetRenderStateRevision();
    Asset.Mesh->PostEditChange();
    EXPECT_EQ(Component->GetRenderStateRevision(), Cleared);
    FTransactionBuffer::Get().Reset();
}

TEST_F(WorldTest, AComponentFindsItsWorldThroughRegistrationOwnerOrOuter)
{
    UWorld* Other = NewObject<UWorld>(GetTransientPackage());
    UStaticMeshComponent* Free = NewObject<UStaticMeshComponent>(World);
    UStaticMeshComponent* Owned = World->SpawnActor<UActor>()->AddComponent<UStaticMeshComponent>();
    UStaticMeshComponent* Loose = NewObject<UStaticMeshComponent>(GetTransientPackage());

    EXPECT_EQ(Free->GetWorld(), World);
    Owned->UnregisterComponent();
    EXPECT_EQ(Owned->GetWorld(), World);
    EXPECT_EQ(Loose->GetWorld(), nullptr);
    Loose->RegisterComponentWithWorld(Other);
    EXPECT_EQ(Loose->GetWorld(), Other);
}
