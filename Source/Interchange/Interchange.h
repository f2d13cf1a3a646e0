#pragma once

#include "Core/Containers/String.h"
#include "Interchange/GltfExportOptions.h"
#include "Interchange/InterchangeImportOptions.h"
#include "Interchange/InterchangeResult.h"

#include <string>

class UPackage;
class USkeletalMesh;
class USkeleton;

/**
 * Reads a skinned mesh file (glTF 2.0 .gltf/.glb through the glTF reader; FBX, Collada, OBJ and
 * whatever else the general importer knows through that one) into a new package: the skeletal
 * mesh with its committed LODs, its skeleton, the animations bound to it and, when the file
 * carries one, its physics asset. Failures are returned, never thrown.
 */
FInterchangeResult ImportSkinnedMeshFile(const FString& Path, const FInterchangeImportOptions& Options = {});

/**
 * Reads only the animations of a file, bound to an existing skeleton: tracks are matched to the
 * skeleton's bones by name and tracks of bones it does not have are dropped. The package holds the
 * animations only.
 */
FInterchangeResult ImportAnimationFile(const FString& Path, USkeleton* Skeleton,
                                       const FInterchangeImportOptions& Options = {});

/** What an export or a save did: Error names the file and the problem when it failed. */
struct FInterchangeWriteResult
{
    bool bSuccess = false;
    FString Error;
    /** True when a vertex had more than four influences (kept in the file's extras). */
    bool bDroppedInfluences = false;
};

/**
 * Writes the mesh, its skeleton, sockets, physics asset and the given animations as glTF 2.0.
 * The file is written to a temporary file and renamed into place, so a failed export leaves any
 * earlier file untouched.
 */
FInterchangeWriteResult ExportSkeletalMeshToGltf(const USkeletalMesh& Mesh, const FString& Path,
                                                 const FGltfExportOptions& Options = {});

/**
 * Writes every asset of a package to one glTF 2.0 file (the format follows the extension: ".gltf"
 * writes text and a .bin beside it, anything else a binary .glb): its skeletal mesh with the
 * package's animations, or, for a package without a mesh, its animations on their skeleton. Clears
 * the package's dirty flag on success.
 */
FInterchangeWriteResult SavePackageToFile(UPackage& Package, const FString& Path);

/**
 * The bytes SavePackageToFile writes to a .glb file, kept in memory; nothing is written and the package's
 * dirty flag is left as it is. Name stands for the file in messages.
 */
FInterchangeWriteResult SavePackageToMemory(UPackage& Package, const FString& Name, std::string& OutBytes);
