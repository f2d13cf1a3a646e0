#include "CoreUObject/Misc/PackageName.h"
#include "Engine/Animation/AnimSequence.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "Support/MeshEdits.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Assets/AssetRegistry.h"
#include "VantorEd/Assets/AssetTools.h"

#include <gtest/gtest.h>

namespace
{
FTestSkeletalAsset MakeCharacter(const char* Name)
{
    FTestSkeletalAssetOptions Options;
    Options.PackageName = FString("/Game/Services/") + Name;
    return BuildTestSkeletalAsset(Options);
}

TArray<FString> ObjectPaths(const TArray<FAssetData>& Assets)
{
    TArray<FString> Paths;
    for (const FAssetData& Asset : Assets)
    {
        Paths.Add(Asset.GetObjectPathString());
    }
    return Paths;
}
} // namespace

TEST(SkeletalAssetServices, TheTestCharacterIsCompleteAndClean)
{
    const FTestSkeletalAsset Asset = MakeCharacter("Complete");
    const USkeletalMesh& Mesh = *Asset.Mesh;
    EXPECT_EQ(Mesh.GetMaterials().Num(), 3);
    EXPECT_EQ(Mesh.GetImportedModel()->LODModels[0].Sections.Num(), 3);
    EXPECT_EQ(Mesh.GetRefSkeleton().GetNum(), 4);
    EXPECT_EQ(Mesh.GetRefBasesInvMatrix().Num(), 4);
    EXPECT_EQ(Asset.Skeleton->GetReferenceSkeleton(), Mesh.GetRefSkeleton());
    EXPECT_NE(Mesh.FindSocket("Weapon"), nullptr);
    EXPECT_NE(Mesh.FindSocket("Hat"), nullptr) << "skeleton sockets reach the mesh";
    EXPECT_EQ(Mesh.GetPhysicsAsset()->SkeletalBodySetups.Num(), 3);
    EXPECT_EQ(Asset.Animation->GetDataModel()->GetNumberOfKeys(), 3);
    EXPECT_EQ(Asset.Animation->GetSkeleton(), Asset.Skeleton);
    EXPECT_TRUE(Mesh.HasValidRenderData());
    for (const UObject* Object :
         {static_cast<const UObject*>(Asset.Mesh), static_cast<const UObject*>(Asset.Animation)})
    {
        EXPECT_FALSE(Object->GetPackage()->IsDirty()) << *Object->GetPathName();
    }
}

TEST(SkeletalAssetServices, TheRegistryFindsASkeletonsAnimationsByClassAndTag)
{
    const FTestSkeletalAsset First = MakeCharacter("Tagged");
    const FTestSkeletalAsset Second = MakeCharacter("Other");

    FAssetFilter Filter;
    Filter.ClassPaths.Add(UAnimSequence::StaticClass()->GetPathName());
    Filter.bRecursiveClasses = true;
    Filter.TagsAndValues.Add({FName("Skeleton"), FAssetData(First.Skeleton).GetExportTextName()});
    TArray<FAssetData> Found;
    ASSERT_TRUE(FAssetRegistry::Get().GetAssets(Filter, Found));
    EXPECT_EQ(ObjectPaths(Found), TArray<FString>{First.Animation->GetPathName()});
    EXPECT_EQ(Found[0].GetTagValue("Skeleton"),
              "/Script/Engine.Skeleton'" + First.Skeleton->GetPathName() + "'");

    TArray<FAssetData> Meshes;
    ASSERT_TRUE(FAssetRegistry::Get().GetAssetsByClass(USkeletalMesh::StaticClass(), Meshes));
    EXPECT_TRUE(ObjectPaths(Meshes).Contains(First.Mesh->GetPathName()));
    EXPECT_TRUE(ObjectPaths(Meshes).Contains(Second.Mesh->GetPathName()));
}

TEST(SkeletalAssetServices, DuplicatingAMeshGivesUniqueNamesAndIdenticalGeometry)
{
    const FTestSkeletalAsset Source = MakeCharacter("Hero");
    DeleteTrianglesAndUnusedElements(*Source.Mesh->GetMeshDescription(0), std::array{FTriangleID(3)});
    const FString Base = Source.Mesh->GetPackage()->GetName();

    TArray<FString> Names;
    for (int32 Copy = 0; Copy < 3; ++Copy)
    {
        FString PackageName;
        FString AssetName;
        FAssetTools::Get().CreateUniqueAssetName(Base, "_Part", PackageName, AssetName);
        UObject* Duplicate = FAssetTools::Get().DuplicateAsset(
            AssetName, FPackageName::GetLongPackagePath(PackageName), Source.Mesh);
        const USkeletalMesh* Mesh = Cast<USkeletalMesh>(Duplicate);
        ASSERT_NE(Mesh, nullptr);
        Names.Add(Mesh->GetName());
        EXPECT_FALSE(Mesh->GetMeshDescription(0)->Triangles().IsValid(FTriangleID(3)))
            << "the copy keeps the source's triangle IDs, holes included";
        EXPECT_TRUE(*Mesh->GetMeshDescription(0) == *Source.Mesh->GetMeshDescription(0));
        EXPECT_EQ(Mesh->GetSkeleton(), Source.Skeleton);
        EXPECT_EQ(Mesh->GetMeshOnlySocketList()[0]->GetOuter(), Mesh);
    }
    EXPECT_EQ(Names, (TArray<FString>{"Hero_Part", "Hero_Part_1", "Hero_Part_2"}));
}
