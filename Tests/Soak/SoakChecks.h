#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Support/SkeletalAssetSnapshot.h"

class FHeadlessEditor;
class FTestFolder;
class USkeletalMesh;
struct FSoakAsset;

/**
 * What the soak compares between steps: everything a tool may change on the asset and on the assets that
 * hang on it (FSkeletalAssetSnapshot), and which skeletal meshes the asset registry lists, so that a
 * detached part comes and goes with undo and redo.
 */
struct FSoakState
{
    explicit FSoakState(const FSoakAsset& Asset);

    FSkeletalAssetSnapshot Asset;
    TArray<FString> SkeletalMeshes;

    bool operator==(const FSoakState&) const = default;
};

/** The object paths of the skeletal meshes the asset registry lists, sorted. */
TArray<FString> ListSkeletalMeshes();

/** The parts in which two states differ ("LOD 0 description", "skeleton sockets", ...), for findings. */
FString DescribeDifferences(const FSoakState& Expected, const FSoakState& Actual);

/**
 * The asset is sound: every LOD description passes its consistency check, every used LOD 0 polygon group
 * and every render section draws with a slot that exists, and LOD 0's render sections cover its triangles.
 * Problems are appended to OutFindings.
 */
void CheckAssetSoundness(const USkeletalMesh& Mesh, TArray<FString>& OutFindings);

/** The active selection tool's preview mesh passes its validity check. */
void CheckPreviewSoundness(const FHeadlessEditor& Editor, TArray<FString>& OutFindings);

/**
 * Saves the asset with its animations as glTF in the folder and reads the file back: what the file holds
 * reads back equal, and writing the read asset again gives the same bytes.
 */
void CheckFileRoundTrip(const FSoakAsset& Asset, const FTestFolder& Folder, TArray<FString>& OutFindings);
