#pragma once

#include "Core/Containers/Map.h"
#include "Interchange/InterchangeFileFrame.h"
#include "Interchange/Private/ImportedScene.h"

class UAnimSequence;
class UAssetSourceFile;

/** The glTF names and orders recorded with a mesh; the animations' by the name of their asset. */
struct FGltfLayoutRecord
{
    bool bRecorded = false;
    TArray<FString> MeshNames;
    FString MeshNodeName;
    FString SkinName;
    TMap<FString, FImportedGltfLayout::FAnimation> Animations;
};

/**
 * What an import notes in the source-file record of its mesh (UAssetSourceFile::Metadata): the file's
 * frame and, for glTF files, how the file named and ordered what the assets have no place for.
 */
namespace SourceFileMetadata
{
/** Records the scene's frame and glTF layout; Animations are the assets made from the scene's animations. */
void Record(UAssetSourceFile& Source, const FImportedScene& Scene, const TArray<UAnimSequence*>& Animations);

FInterchangeFileFrame ReadFrame(const UAssetSourceFile* Source);
FGltfLayoutRecord ReadGltfLayout(const UAssetSourceFile* Source);
} // namespace SourceFileMetadata
