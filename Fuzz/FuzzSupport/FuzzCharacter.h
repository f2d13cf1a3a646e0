#pragma once

#include "Core/Containers/String.h"

class FFuzzFolder;

/**
 * Builds `rivet demo`'s character and saves it into the folder as Name (.glb, or .gltf with its .bin);
 * returns the path. The fuzz targets that edit or change a valid file start from it.
 */
FString WriteDemoCharacter(const FFuzzFolder& Folder, const char* Name);
