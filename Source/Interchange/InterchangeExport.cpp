#include "Core/Logging/LogMacros.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/Animation/AnimSequence.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "Interchange/LogInterchange.h"
#include "Interchange/Private/GltfExporter.h"
#include "Interchange/Private/SourceFileInfo.h"

namespace
{
FInterchangeWriteResult Refuse(const FString& Path, const FString& Problem)
{
    FInterchangeWriteResult Result;
    Result.Error = Path + ": " + Problem;
    VT_LOG(LogInterchange, Warning, "Export refused: %s", *Result.Error);
    return Result;
}

FInterchangeWriteResult Succeed()
{
    FInterchangeWriteResult Result;
    Result.bSuccess = true;
    return Result;
}

/** Logs what building a document noticed; the result of a build that went through. */
FInterchangeWriteResult ReportBuild(const FGltfExportReport& Report, const FString& Path)
{
    for (const FString& Warning : Report.Warnings)
    {
        VT_LOG(LogInterchange, Warning, "%s: %s", *Path, *Warning);
    }
    if (Report.NumDroppedInfluenceVertices > 0)
    {
        VT_LOG(LogInterchange, Warning,
               "%s: %d vertices have more than 4 influences; the file keeps the 4 heaviest (renormalised) "
               "and the "
               "full lists in the mesh's extras",
               *Path, Report.NumDroppedInfluenceVertices);
    }
    FInterchangeWriteResult Result = Succeed();
    Result.bDroppedInfluences = Report.NumDroppedInfluenceVertices > 0;
    return Result;
}

/** Writes a built document, reporting what the build noticed. */
FInterchangeWriteResult Finish(const tinygltf::Model& Model, const FGltfExportReport& Report,
                               const FString& Path, bool bBinary)
{
    const FInterchangeWriteResult Result = ReportBuild(Report, Path);
    FString Error;
    if (!WriteGltfDocument(Model, Path, bBinary, Error))
    {
        return Refuse(Path, Error);
    }
    return Result;
}

/** The animations of a package that play on the skeleton. */
TArray<UAnimSequence*> FindPackageAnimations(const UPackage& Package, const USkeleton* Skeleton)
{
    TArray<UAnimSequence*> Animations;
    ForEachObjectOfClass<UAnimSequence>(
        [&](UAnimSequence* Animation)
        {
            if (Animation->GetOuter() == &Package && (!Skeleton || Animation->GetSkeleton() == Skeleton))
            {
                Animations.Add(Animation);
            }
        });
    Animations.Sort([](const UAnimSequence* A, const UAnimSequence* B)
                    { return A->GetName() < B->GetName(); });
    return Animations;
}

template <typename T>
T* FindFirstAsset(const UPackage& Package)
{
    T* Found = nullptr;
    ForEachObjectOfClass<T>(
        [&](T* Object)
        {
            if (!Found && Object->GetOuter() == &Package)
            {
                Found = Object;
            }
        });
    return Found;
}
} // namespace

namespace
{
/** The document of a mesh and its animations; Path only names the file in a refusal. */
FInterchangeWriteResult BuildMeshDocument(const USkeletalMesh& Mesh, const TArray<UAnimSequence*>& Animations,
                                          const FString& Path, tinygltf::Model& Model, FGltfExportReport& Report)
{
    if (Mesh.GetLODNum() == 0 || !Mesh.GetMeshDescription(0))
    {
        return Refuse(
            Path, FString::Printf("the mesh '%s' has no LOD 0 mesh description to export", *Mesh.GetName()));
    }
    for (const UAnimSequence* Animation : Animations)
    {
        if (Animation && Mesh.GetSkeleton() && Animation->GetSkeleton() != Mesh.GetSkeleton())
        {
            return Refuse(Path,
                          FString::Printf("the animation '%s' plays on another skeleton than the mesh's",
                                          *Animation->GetName()));
        }
    }
    BuildGltfDocument(Mesh, Animations, Model, Report);
    return Succeed();
}

/** The document of every asset of a package, as SavePackageToFile writes it. */
FInterchangeWriteResult BuildPackageDocument(UPackage& Package, const FString& Path, tinygltf::Model& Model,
                                             FGltfExportReport& Report)
{
    if (USkeletalMesh* Mesh = FindFirstAsset<USkeletalMesh>(Package))
    {
        return BuildMeshDocument(*Mesh, FindPackageAnimations(Package, Mesh->GetSkeleton()), Path, Model, Report);
    }
    const TArray<UAnimSequence*> Animations = FindPackageAnimations(Package, nullptr);
    USkeleton* Skeleton = Animations.IsEmpty() ? FindFirstAsset<USkeleton>(Package) : Animations[0]->GetSkeleton();
    if (!Skeleton)
    {
        return Refuse(Path, FString::Printf("the package '%s' holds no skeletal mesh, skeleton or animation",
                                            *Package.GetName()));
    }
    BuildGltfAnimationDocument(*Skeleton, FindPackageAnimations(Package, Skeleton), Model, Report);
    return Succeed();
}
} // namespace

FInterchangeWriteResult ExportSkeletalMeshToGltf(const USkeletalMesh& Mesh, const FString& Path,
                                                 const FGltfExportOptions& Options)
{
    tinygltf::Model Model;
    FGltfExportReport Report;
    const FInterchangeWriteResult Built = BuildMeshDocument(Mesh, Options.Animations, Path, Model, Report);
    return Built.bSuccess ? Finish(Model, Report, Path, Options.Format == EGltfFileFormat::Binary) : Built;
}

FInterchangeWriteResult SavePackageToFile(UPackage& Package, const FString& Path)
{
    tinygltf::Model Model;
    FGltfExportReport Report;
    FInterchangeWriteResult Result = BuildPackageDocument(Package, Path, Model, Report);
    if (Result.bSuccess)
    {
        Result = Finish(Model, Report, Path, GetLowerExtension(Path) != "gltf");
    }
    if (Result.bSuccess)
    {
        Package.SetDirtyFlag(false);
    }
    return Result;
}

FInterchangeWriteResult SavePackageToMemory(UPackage& Package, const FString& Name, std::string& OutBytes)
{
    tinygltf::Model Model;
    FGltfExportReport Report;
    FInterchangeWriteResult Result = BuildPackageDocument(Package, Name, Model, Report);
    if (!Result.bSuccess)
    {
        return Result;
    }
    Result = ReportBuild(Report, Name);
    FString Error;
    return SerializeGltfDocument(Model, /*bBinary=*/true, OutBytes, Error) ? Result : Refuse(Name, Error);
}
