#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

class FTestFolder;
class UAnimSequence;
class USkeletalMesh;

/** An asset the soak edits: the skeletal mesh and the animations of its skeleton. */
struct FSoakAsset
{
    USkeletalMesh* Mesh = nullptr;
    TArray<UAnimSequence*> Animations;
};

/** One of the assets the soak runs on: its name, and how it is made (in a folder for files it writes). */
struct FSoakAssetKind
{
    /** One word, for test names and replays ("DemoCharacter"). */
    const char* Id;
    const char* Name;
    FSoakAsset (*Make)(const FTestFolder& Folder);
};

/** The shared test character, the demo character, and a character read from a glTF file. */
extern const FSoakAssetKind SoakAssetKinds[3];
