#pragma once

#include "Core/Containers/String.h"

class UPackage;

/** A file opened in an edit session and the package made from it. */
struct FOpenedFile
{
    FString Path;
    UPackage* Package = nullptr;
};
