#pragma once

#include "Core/Containers/String.h"

class UPackage;

/** A file opened in an edit session and the package made from it. */
struct FOpenedFile
{
    FString Path;
    UPackage* Package = nullptr;
    /** What saving the package would write as it was read (FingerprintPackage). */
    FString Fingerprint;
};
