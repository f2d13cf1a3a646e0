#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"

class UAnimSequence;

/** The container of an exported glTF 2.0 file. */
enum class EGltfFileFormat : uint8
{
    /** One .glb file: the JSON and the binary buffer in one container. */
    Binary,
    /** A .gltf JSON file with its binary buffer beside it, in "<file stem>.bin". */
    Text,
};

struct FGltfExportOptions
{
    EGltfFileFormat Format = EGltfFileFormat::Binary;
    /** Animations written with the mesh; each must play on the mesh's skeleton. */
    TArray<UAnimSequence*> Animations;
};
