#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "RivetCli/Render/BonePose.h"
#include "RivetCli/Render/MeshPicture.h"

class FDynamicMesh3;
class USkeletalMesh;

/** What a picture of a skeletal mesh is made from. */
struct FPictureSource
{
    /** The triangles: a converted LOD, or a tool's preview of LOD 0. */
    const FDynamicMesh3* Mesh = nullptr;
    /** The asset the mesh belongs to: its slots and skeleton. */
    const USkeletalMesh* Asset = nullptr;
    /** The LOD the mesh shows, for its slots. */
    int32 LOD = 0;
    /** Triangle IDs of Mesh to highlight. */
    TArray<int32> Selected;
    /** Bones moved by hand; the mesh is posed by linear blend skinning. None: the reference pose. */
    TArray<FBoneEditRequest> BoneEdits;
};

/**
 * Turns the source into a picture: posed positions, triangle colours by ColorBy, highlights, and the
 * legend (the slots drawn, the heat ramp, the selection). False with a message when a bone named by the
 * coloring or an edit is not in the skeleton.
 */
bool MakePicture(const FPictureSource& Source, const FRenderColorBy& ColorBy, FPicture& Out,
                 FString& OutError);

/** The caption line: "NAME - LOD N - T triangles - VIEW view". */
FString MakePictureCaption(const FString& Name, int32 LOD, int32 Triangles, const FPictureOptions& Options);

/** Converts a LOD's description as the selection tool converts LOD 0; false when it has none. */
bool ConvertLODForPicture(const USkeletalMesh& Asset, int32 LOD, FDynamicMesh3& Out);
