#pragma once

#include "Core/Containers/String.h"

/**
 * Where an import puts its assets. The package is named after the file ("<Folder>/<file stem>",
 * with a numeric suffix when the name is taken) unless PackageName names it.
 */
struct FInterchangeImportOptions
{
    FString DestinationFolder = "/Game/Imported";
    /** A full long package name for the import; empty to derive one from the file name. */
    FString PackageName;
};
