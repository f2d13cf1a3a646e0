#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "Interchange/Private/AssimpFileAccess.h"
#include "Interchange/Private/AssimpImporter.h"
#include "Interchange/Private/AssimpMeshImporter.h"
#include "Interchange/Private/AssimpSkeletonImporter.h"
#include "BadInputFixture.h"
#include "Support/Assimp/AssimpTestScene.h"
#include "Support/TestFiles.h"

#include <assimp/scene.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#if defined(__SANITIZE_ADDRESS__)
#define RIVET_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RIVET_ADDRESS_SANITIZER 1
#endif
#endif

namespace
{
TEST(AssimpHostileFiles, ABoneWithoutANodeHangsFromTheSkeletonRootAtItsBindPose)
{
    std::unique_ptr<aiScene> Scene = BuildAssimpTestScene();
    for (unsigned Mesh = 0; Mesh < Scene->mNumMeshes; ++Mesh)
    {
        for (unsigned Bone = 0; Bone < Scene->mMeshes[Mesh]->mNumBones; ++Bone)
        {
            aiBone& Data = *Scene->mMeshes[Mesh]->mBones[Bone];
            Data.mName = Data.mName == aiString("Leg") ? aiString("Ghost") : Data.mName;
        }
    }
    const FAssimpNodeGraph Graph(*Scene);
    FReferenceSkeleton Skeleton;
    TArray<FString> Warnings;
    const FAssimpSkeletonBinding Binding = ImportAssimpSkeleton(*Scene, Graph, Skeleton, Warnings);

    const int32 Ghost = Skeleton.FindRawBoneIndex(FName("Ghost"));
    ASSERT_NE(Ghost, INDEX_NONE);
    EXPECT_EQ(Skeleton.GetParentIndex(Ghost), 0);
    EXPECT_EQ(Skeleton.GetRawBoneName(0), FName("Hips"));
    // "Leg" sat one unit along x from "Hips": 100 cm along host x.
    EXPECT_TRUE(Skeleton.GetRawRefBonePose()[Ghost].GetTranslation().Equals(FVector(100.0, 0.0, 0.0), 1e-3));
    EXPECT_EQ(Warnings,
              (TArray<FString>{"the bone 'Ghost' has no node; it was placed under the skeleton's root "
                               "from its bind pose"}));

    FSourceMesh Source;
    TArray<FImportedSlot> Slots;
    ReadAssimpMeshes(*Scene, Graph, Binding, Source, Slots);
    int32 NumGhostInfluences = 0;
    for (const FSourceInfluence& Influence : Source.Influences)
    {
        NumGhostInfluences += Influence.Bone == Ghost ? 1 : 0;
    }
    EXPECT_GT(NumGhostInfluences, 0);
}

TEST(AssimpHostileFiles, SideFilesAreOpenedOnlyFromTheFilesFolderAndNeverWaitedOn)
{
    FTestFolder Folder;
    std::filesystem::create_directories(Folder.File("Model").ToStdString());
    WriteBytes(Folder.File("Secret.mtl"), "newmtl Secret\nKd 1 0 0\n");
    WriteBytes(Folder.File("Model/Inside.mtl"), "newmtl Inside\nKd 0 1 0\n");
    ASSERT_EQ(mkfifo(Folder.File("Model/Pipe.mtl").ToStdString().c_str(), 0600), 0);
    FAssimpFileAccess Access(Folder.File("Model/Triangle.obj"));
    EXPECT_TRUE(Access.Exists(*Folder.File("Model/Inside.mtl")));
    EXPECT_FALSE(Access.Exists(*Folder.File("Model/../Secret.mtl")));
    EXPECT_FALSE(Access.Exists(*Folder.File("Model/Pipe.mtl")));
    EXPECT_EQ(Access.Open(*Folder.File("Model/../Secret.mtl")), nullptr);
    EXPECT_EQ(Access.Open(*Folder.File("Model/Inside.mtl"), "wb"), nullptr);
    // The whole import: a library out of the folder or a FIFO is a missing library, never a hang.
    int32 Case = 0;
    for (const char* Library : {"../Secret.mtl", "Pipe.mtl", "Inside.mtl"})
    {
        SCOPED_TRACE(Library);
        const FString Path = Folder.File("Model/Triangle.obj");
        WriteBytes(Path, std::string("mtllib ") + Library + "\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
        EXPECT_TRUE(ImportSkinnedMeshFile(Path, {.PackageName = FString::Printf("/Game/Side/Case%d", Case++)})
                        .bSuccess);
    }
}
} // namespace

// Files on which the general importer itself stops the process (a failed check in the Collada and
// DirectX readers, memory released twice when an FBX scene is torn down), never finishes (a PLY header
// without its end), found by fuzzing, or allocates more than the first read may.
TEST_F(BadInput, FilesThatStopTheGeneralImporterOrNeverFinishAreRefused)
{
    SetAssimpReadLimits({.Base = {.Seconds = 2.0, .MemoryBytes = uint64(1) << 30}});
    ExpectRefused(FString(RIVET_INTERCHANGE_TEST_DATA "/AssimpCrashes/endless-header.ply"),
                  "the file cannot be read: the importer did not finish reading it in 2 seconds (the file is "
                  "damaged or too large for it)");

    // Half a million triangles need far more than 16 MB.
    SetAssimpReadLimits({.Base = {.Seconds = 20.0, .MemoryBytes = uint64(16) << 20}, .PerFileMegabyte = {}});
    const FString Large = Folder.File("Large.obj");
    std::string Triangles = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    for (int32 Triangle = 0; Triangle < 500000; ++Triangle)
    {
        Triangles += "f 1 2 3\n";
    }
    WriteBytes(Large, Triangles);
#if RIVET_ADDRESS_SANITIZER
    // The sanitizer's allocator stops the process itself when memory runs out.
    ExpectRefused(Large, "the file cannot be read: the importer stopped on it (the file is damaged or uses a "
                         "feature the importer cannot handle)");
#else
    ExpectRefused(Large, "the file cannot be read: the importer needed more than 16 MB of memory for it (the "
                         "file is damaged or too large for it)");
#endif
    SetAssimpReadLimits({});

    for (const char* Name : {"assert.dae", "assert.x", "double-free.fbx"})
    {
        SCOPED_TRACE(Name);
        ExpectRefused(FString(RIVET_INTERCHANGE_TEST_DATA "/AssimpCrashes/") + Name,
                      "the file cannot be read: the importer stopped on it (the file is damaged or uses a "
                      "feature the importer cannot handle)");
    }
}
