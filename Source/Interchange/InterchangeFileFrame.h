#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/Box.h"
#include "Core/Math/Vector.h"

class USkeletalMesh;

/**
 * A file's own axes and unit, and how an import turned them into the host's (Z up, right-handed,
 * centimetres): host component I is Sign[I] * Scale * file component Axis[I]. The axes are only
 * permuted, with signs, so converting is exact apart from the scale.
 */
struct FInterchangeFileFrame
{
    /** False when the import recorded no frame (the asset was not imported, or by an older import). */
    bool bKnown = false;
    int32 Axis[3] = {0, 1, 2};
    double Sign[3] = {1.0, 1.0, 1.0};
    /** Centimetres per file unit. */
    double Scale = 1.0;

    /** "Y up, metres", "Z up, inches", "-X up, units of 2.5 cm"; "unknown" when not known. */
    FString Describe() const;
    FVector ToHost(const FVector& File) const;
    FVector ToFile(const FVector& Host) const;
    /** The box around a host box's corners, in file coordinates. */
    FBox ToFile(const FBox& Host) const;
};

/** The frame of the file the mesh was imported from, as its import recorded it. */
FInterchangeFileFrame GetSourceFileFrame(const USkeletalMesh& Mesh);
