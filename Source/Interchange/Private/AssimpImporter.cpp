#include "Interchange/Private/AssimpImporter.h"

#include "Engine/Animation/Skeleton.h"
#include "Interchange/Private/AssimpAnimationImporter.h"
#include "Interchange/Private/AssimpFileAccess.h"
#include "Interchange/Private/AssimpMeshImporter.h"
#include "Interchange/Private/AssimpNodeGraph.h"
#include "Interchange/Private/AssimpSkeletonImporter.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/IsolatedRun.h"
#include "Interchange/Private/MeshDescriptionBuilder.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>

#include <filesystem>

namespace
{
const aiScene& ReadUncheckedScene(Assimp::Importer& Importer, const FString& Path)
{
    // The importer owns and deletes its file access.
    Importer.SetIOHandler(new FAssimpFileAccess(Path));
    Importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    const aiScene* Scene = Importer.ReadFile(
        Path.ToStdString(), aiProcess_Triangulate | aiProcess_SortByPType | aiProcess_JoinIdenticalVertices);
    if (!Scene || !Scene->mRootNode)
    {
        FailImport("the file cannot be read: %s", *ImportedText::ForMessage(Importer.GetErrorString(), 200));
    }
    return *Scene;
}

FAssimpReadLimits ReadLimits;

/** What the first read of this file may spend: the base limits and more for each megabyte of it. */
FIsolatedRunLimits ReadLimitsFor(const FString& Path)
{
    std::error_code Error;
    const uint64 Bytes = std::filesystem::file_size(*Path, Error);
    const double Megabytes = Error ? 0.0 : static_cast<double>(Bytes) / (1 << 20);
    return {.Seconds = ReadLimits.Base.Seconds + Megabytes * ReadLimits.PerFileMegabyte.Seconds,
            .MemoryBytes = ReadLimits.Base.MemoryBytes +
                           static_cast<uint64>(Megabytes * static_cast<double>(ReadLimits.PerFileMegabyte.MemoryBytes))};
}

/**
 * Reads the file with the general importer, which stops the process on some damaged files (failed
 * checks, memory released twice while the scene is torn down), never finishes others and allocates
 * without bound on some. A first read and tear-down in a child process finds those files, which are
 * refused before the importer runs here.
 */
const aiScene& ReadScene(Assimp::Importer& Importer, const FString& Path)
{
    const FIsolatedRunLimits Limits = ReadLimitsFor(Path);
    const EIsolatedRunResult Probe = RunInChildProcess(
        [&Path]
        {
            Assimp::Importer Reader;
            ReadUncheckedScene(Reader, Path);
        },
        Limits);
    if (Probe == EIsolatedRunResult::Stopped)
    {
        FailImport("the file cannot be read: the importer stopped on it (the file is damaged or uses a "
                   "feature the importer cannot handle)");
    }
    if (Probe == EIsolatedRunResult::TimedOut)
    {
        FailImport("the file cannot be read: the importer did not finish reading it in %.0f seconds (the "
                   "file is damaged or too large for it)",
                   Limits.Seconds);
    }
    if (Probe == EIsolatedRunResult::OutOfMemory)
    {
        FailImport("the file cannot be read: the importer needed more than %.0f MB of memory for it (the file "
                   "is damaged or too large for it)",
                   static_cast<double>(Limits.MemoryBytes) / (1 << 20));
    }
    return ReadUncheckedScene(Importer, Path);
}
} // namespace

bool IsAssimpFormat(const FString& Extension)
{
    if (Extension.IsEmpty() || Extension == "gltf" || Extension == "glb")
    {
        return false;
    }
    return Assimp::Importer().IsExtensionSupported((FString(".") + Extension).ToStdString());
}

void ImportAssimpScene(const FString& Path, FImportedScene& OutScene)
{
    Assimp::Importer Importer;
    const aiScene& Scene = ReadScene(Importer, Path);
    const FAssimpNodeGraph Graph(Scene);
    OutScene.FileFrame = Graph.GetConversion();
    const FAssimpSkeletonBinding Binding =
        ImportAssimpSkeleton(Scene, Graph, OutScene.Skeleton, OutScene.Warnings);
    const TArray<int32>& BoneOfNode = Binding.BoneOfNode;
    FSourceMesh Source;
    ReadAssimpMeshes(Scene, Graph, Binding, Source, OutScene.Slots);
    BuildLODDescription(Source, OutScene.LODs.Emplace_GetRef(), OutScene.Warnings);
    ReadAssimpAnimations(
        Scene, Graph,
        [&](int32 Node) {
            return BoneOfNode[Node] == INDEX_NONE ? FName()
                                                  : OutScene.Skeleton.GetRawBoneName(BoneOfNode[Node]);
        },
        OutScene.Animations);
}

void SetAssimpReadLimits(const FAssimpReadLimits& Limits)
{
    ReadLimits = Limits;
}

void ImportAssimpAnimations(const FString& Path, const USkeleton& Skeleton, FImportedScene& OutScene)
{
    Assimp::Importer Importer;
    const aiScene& Scene = ReadScene(Importer, Path);
    const FAssimpNodeGraph Graph(Scene);
    const FReferenceSkeleton& Bones = Skeleton.GetReferenceSkeleton();
    ReadAssimpAnimations(
        Scene, Graph,
        [&](int32 Node) { return MatchSkeletonBone(Bones, FString(Graph.GetNode(Node).mName.C_Str())); },
        OutScene.Animations);
    if (OutScene.Animations.IsEmpty())
    {
        FailImport("the file holds no animations");
    }
}
