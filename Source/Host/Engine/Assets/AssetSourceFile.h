#pragma once

#include "Core/Containers/Map.h"
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

    /**
     * What the importer noted about the file that the asset has no place for (the file's own axes and
     * unit, the names and orders it gave its parts), by key. The importer that writes a note is the one
     * that reads it; to everyone else the values are opaque.
     */
    TMap<FString, FString> Metadata;
};
