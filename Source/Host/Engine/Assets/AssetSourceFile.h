#pragma once

#include "CoreUObject/Object/UObjectGlobals.h"

/**
 * Where an asset came from: the file it was imported from and that file's content hash when it
 * was read, so the asset can be reimported and a changed file recognised.
 */
VT_CLASS()
class UAssetSourceFile : public UObject
{
    VT_BODY(UAssetSourceFile, UObject)

public:
    VT_PROPERTY(VisibleAnywhere, Category = "Source")
    FString Filename;

    VT_PROPERTY(VisibleAnywhere, Category = "Source")
    FString ContentHash;
};
