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

/** Writes a built document, reporting what the build noticed. */
FInterchangeWriteResult Finish(const tinygltf::Model& Model, const FGltfExportReport& Report,
                               const FString& Path, bool bBinary)
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
    FString Error;
    if (!WriteGltfDocument(Model, Path, bBinary, Error))
    {
        return Refuse(Path, Error);
    }
    FInterchangeWriteResult Result;
    Result.bSuccess = true;
    Result.bDroppedInfluences = Report.NumDroppedInfluenceVertices > 0;
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

FInterchangeWriteResult ExportSkeletalMeshToGltf(const USkeletalMesh& Mesh, const FString& Path,
                                                 const FGltfExportOptions& Options)
{
    if (Mesh.GetLODNum() == 0 || !Mesh.GetMeshDescription(0))
    {
        return Refuse(
            Path, FString::Printf("the mesh '%s' has no LOD 0 mesh description to export", *Mesh.GetName()));
    }
    for (const UAnimSequence* Animation : Options.Animations)
    {
        if (Animation && Mesh.GetSkeleton() && Animation->GetSkeleton() != Mesh.GetSkeleton())
        {
            return Refuse(Path,
                          FString::Printf("the animation '%s' plays on another skeleton than the mesh's",
                                          *Animation->GetName()));
        }
    }
    tinygltf::Model Model;
    FGltfExportReport Report;
    BuildGltfDocument(Mesh, Options.Animations, Model, Report);
    return Finish(Model, Report, Path, Options.Format == EGltfFileFormat::Binary);
}

FInterchangeWriteResult SavePackageToFile(UPackage& Package, const FString& Path)
{
    const bool bBinary = GetLowerExtension(Path) != "gltf";
    FInterchangeWriteResult Result;
    if (USkeletalMesh* Mesh = FindFirstAsset<USkeletalMesh>(Package))
    {
        FGltfExportOptions Options;
        Options.Format = bBinary ? EGltfFileFormat::Binary : EGltfFileFormat::Text;
        Options.Animations = FindPackageAnimations(Package, Mesh->GetSkeleton());
        Result = ExportSkeletalMeshToGltf(*Mesh, Path, Options);
    }
    else
    {
        const TArray<UAnimSequence*> Animations = FindPackageAnimations(Package, nullptr);
        USkeleton* Skeleton =
            Animations.IsEmpty() ? FindFirstAsset<USkeleton>(Package) : Animations[0]->GetSkeleton();
        if (!Skeleton)
        {
            return Refuse(Path,
                          FString::Printf("the package '%s' holds no skeletal mesh, skeleton or animation",
                                          *Package.GetName()));
        }
        tinygltf::Model Model;
        FGltfExportReport Report;
        BuildGltfAnimationDocument(*Skeleton, FindPackageAnimations(Package, Skeleton), Model, Report);
        Result = Finish(Model, Report, Path, bBinary);
    }
    if (Result.bSuccess)
    {
        Package.SetDirtyFlag(false);
    }
    return Result;
}
