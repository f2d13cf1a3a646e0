#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/AssetNames.h"
#include "Support/TestFiles.h"

#include <gtest/gtest.h>

namespace
{
/** A unit quad in metres (Y up) with two materials, one triangle each. */
const char* const QuadObj = R"(mtllib none.mtl
v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
vn 0 0 1
usemtl Front
f 1//1 2//1 3//1
usemtl Back
f 1//1 3//1 4//1
)";

TEST(AssimpImport, ReadsAnObjFileAsOneSkeletalMeshWithARootBone)
{
    FTestFolder Folder;
    const FString Path = Folder.File("Quad.obj");
    WriteBytes(Path, QuadObj);
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path);
    ASSERT_TRUE(Result.bSuccess) << *Result.Error;
    const FMeshDescription& Mesh = *Result.Mesh->GetMeshDescription(0);
    EXPECT_EQ(Mesh.Triangles().Num(), 2);
    EXPECT_EQ(Mesh.Vertices().Num(), 4);
    EXPECT_EQ(Mesh.PolygonGroups().Num(), 2);
    ASSERT_EQ(Result.Mesh->GetRefSkeleton().GetRawBoneNum(), 1);
    EXPECT_EQ(Result.Mesh->GetMaterials().Num(), 2);
    FSkeletalMeshAttributesShared Attributes(Mesh);
    bool bFoundTopCorner = false;
    for (const FVertexID Vertex : Mesh.Vertices().GetElementIDs())
    {
        bFoundTopCorner =
            bFoundTopCorner || Attributes.GetVertexPositions()[Vertex] == FVector3f(100.0f, 0.0f, 100.0f);
    }
    EXPECT_TRUE(bFoundTopCorner) << "metres, Y up, become centimetres, Z up";
}

TEST(AssimpImport, RefusesFilesItCannotParse)
{
    FTestFolder Folder;
    const FString Path = Folder.File("Broken.dae");
    WriteBytes(Path, "<COLLADA><library_geometries><geometry");
    const FInterchangeResult Result =
        ImportSkinnedMeshFile(Path, {.PackageName = "/Game/AssimpImport/Broken"});
    EXPECT_FALSE(Result.bSuccess);
    EXPECT_TRUE(Result.Error.StartsWith((Path + ": the file cannot be read: ").View())) << *Result.Error;
    EXPECT_EQ(FindPackage("/Game/AssimpImport/Broken"), nullptr);
}
TEST(AssimpImport, ABoneNamedNoneOrLikeAnotherGetsANameOfItsOwn)
{
    FTestFolder Folder;
    const FString Path = Folder.File("Arm.smd");
    WriteBytes(Path,
               "version 1\nnodes\n0 \"None\" -1\n1 \"arm\" 0\n2 \"ARM\" 1\nend\nskeleton\ntime 0\n"
               "0 0 0 0 0 0 0\n1 1 0 0 0 0 0\n2 1 0 0 0 0 0\nend\ntriangles\nmat\n"
               "0 0 0 0 0 0 1 0 0 1 0 1.0\n1 1 0 0 0 0 1 1 0 1 1 1.0\n2 0 1 0 0 0 1 0 1 1 2 1.0\nend\n");
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path);
    ASSERT_TRUE(Result.bSuccess) << *Result.Error;
    EXPECT_EQ(BoneNames(Result.Mesh->GetRefSkeleton()), (TArray<FName>{"Bone_1", "arm", "ARM_1"}));
}
} // namespace
