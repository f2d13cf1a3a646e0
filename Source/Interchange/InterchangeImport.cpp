#include "Core/Logging/LogMacros.h"
#include "Engine/Animation/Skeleton.h"
#include "Interchange/Interchange.h"
#include "Interchange/LogInterchange.h"
#include "Interchange/Private/AssetBuilder.h"
#include "Interchange/Private/AssimpImporter.h"
#include "Interchange/Private/GltfImporter.h"
#include "Interchange/Private/ImportedSceneRules.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/SourceFileInfo.h"

#include <filesystem>
#include <new>

namespace
{
bool IsGltfFormat(const FString& Extension)
{
    return Extension == "gltf" || Extension == "glb";
}

/** Refuses paths that name no readable file and formats nobody reads, before any reader runs. */
void CheckReadable(const FString& Path)
{
    std::error_code Error;
    const std::filesystem::path FilePath(Path.ToStdString());
    if (!std::filesystem::exists(FilePath, Error))
    {
        FailImport("the file does not exist");
    }
    if (!std::filesystem::is_regular_file(FilePath, Error))
    {
        FailImport("the path is not a file");
    }
    if (std::filesystem::file_size(FilePath, Error) == 0)
    {
        FailImport("the file is empty");
    }
    const FString Extension = GetLowerExtension(Path);
    if (!IsGltfFormat(Extension) && !IsAssimpFormat(Extension))
    {
        FailImport("unsupported file format '.%s'", *Extension);
    }
}

FAssetTarget MakeTarget(const FString& Path, const FInterchangeImportOptions& Options)
{
    FAssetTarget Target;
    Target.PackageName = ChooseImportPackageName(Path, Options);
    Target.BaseName = MakeAssetBaseName(Path);
    Target.SourceFile = Path;
    Target.SourceHash = HashFileContents(Path);
    return Target;
}

void ReportWarnings(const FString& Path, const TArray<FString>& Warnings, FInterchangeResult& Result)
{
    for (const FString& Warning : Warnings)
    {
        VT_LOG(LogInterchange, Warning, "%s: %s", *Path, *Warning);
        Result.Warnings.Add(Warning);
    }
}

/** Runs an import; a refusal becomes "<file>: <problem>" with nothing created. */
template <typename FunctionType>
FInterchangeResult GuardImport(const FString& Path, FunctionType&& Import)
{
    FInterchangeResult Result;
    try
    {
        Import(Result);
        Result.bSuccess = true;
        return Result;
    }
    catch (const FInterchangeFailure& Failure)
    {
        Result = FInterchangeResult();
        Result.Error = Path + ": " + Failure.GetProblem();
    }
    catch (const std::bad_alloc&)
    {
        Result = FInterchangeResult();
        Result.Error = Path + ": the file asks for more memory than there is";
    }
    catch (const std::exception&)
    {
        // A library's own words would be internals of no use to the user, and may quote the file.
        Result = FInterchangeResult();
        Result.Error = Path + ": the file cannot be read (the reader failed unexpectedly)";
    }
    VT_LOG(LogInterchange, Warning, "Import refused: %s", *Result.Error);
    return Result;
}
} // namespace

FInterchangeResult ImportSkinnedMeshFile(const FString& Path, const FInterchangeImportOptions& Options)
{
    return GuardImport(Path,
                       [&](FInterchangeResult& Result)
                       {
                           CheckReadable(Path);
                           const FAssetTarget Target = MakeTarget(Path, Options);
                           FImportedScene Scene;
                           if (IsGltfFormat(GetLowerExtension(Path)))
                           {
                               ImportGltfScene(Path, Scene);
                           }
                           else
                           {
                               ImportAssimpScene(Path, Scene);
                           }
                           CheckImportedScene(Scene);
                           ReportWarnings(Path, Scene.Warnings, Result);
                           BuildSkinnedMeshAssets(std::move(Scene), Target, Result);
                       });
}

FInterchangeResult ImportAnimationFile(const FString& Path, USkeleton* Skeleton,
                                       const FInterchangeImportOptions& Options)
{
    return GuardImport(Path,
                       [&](FInterchangeResult& Result)
                       {
                           if (!Skeleton)
                           {
                               FailImport("no skeleton was given to bind the animations to");
                           }
                           CheckReadable(Path);
                           const FAssetTarget Target = MakeTarget(Path, Options);
                           FImportedScene Scene;
                           if (IsGltfFormat(GetLowerExtension(Path)))
                           {
                               ImportGltfAnimations(Path, *Skeleton, Scene);
                           }
                           else
                           {
                               ImportAssimpAnimations(Path, *Skeleton, Scene);
                           }
                           ReportWarnings(Path, Scene.Warnings, Result);
                           BuildAnimationAssets(std::move(Scene), *Skeleton, Target, Result);
                       });
}
