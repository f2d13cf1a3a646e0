#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

#include <tiny_gltf.h>

class UAnimSequence;
class USkeletalMesh;
class USkeleton;

/** What building a document reported besides the document itself. */
struct FGltfExportReport
{
    int32 NumDroppedInfluenceVertices = 0;
    TArray<FString> Warnings;
};

/**
 * Builds the glTF document of a skeletal mesh: the conversion node (host space to glTF space, marked
 * in its extras) above the bones, sockets as child nodes of their bones, one mesh per LOD (LOD 0 on a
 * node with the skin, further LODs listed in LOD 0's extras), a material per slot, the skin with the
 * inverse reference matrices, the animations and, in extras, everything else the assets hold.
 */
void BuildGltfDocument(const USkeletalMesh& Mesh, const TArray<UAnimSequence*>& Animations,
                       tinygltf::Model& OutModel, FGltfExportReport& OutReport);

/** The same for a skeleton and its animations alone: bones and animations, no mesh. */
void BuildGltfAnimationDocument(const USkeleton& Skeleton, const TArray<UAnimSequence*>& Animations,
                                tinygltf::Model& OutModel, FGltfExportReport& OutReport);

/** A document as the bytes of a .glb file, or of a .gltf holding its buffer; false with OutError on failure. */
bool SerializeGltfDocument(const tinygltf::Model& Model, bool bBinary, std::string& OutBytes, FString& OutError);

/** Writes a document as .glb or as .gltf with "<stem>.bin" beside it; false with OutError on failure. */
bool WriteGltfDocument(const tinygltf::Model& Model, const FString& Path, bool bBinary, FString& OutError);
