#pragma once

#include "Core/Containers/String.h"

class UPackage;

/**
 * What saving the package would write: a digest of its binary glTF 2.0 export, made in memory. Equal fingerprints taken before and after some steps mean those steps changed
 * nothing a save would keep (a refused tool, an undone edit). Empty when the package cannot be written.
 * The package's dirty flag is left as it was.
 */
FString FingerprintPackage(UPackage& Package);
