#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/Box.h"
#include "Core/Math/Vector.h"

/**
 * A file's own axes and unit, as the importer reads them into the host's (Z up, right-handed,
 * centimetres). glTF, and the formats the importer takes as such (Collada, OBJ and the others but FBX),
 * are Y up in metres: file (x, y, z) is host (100 x, -100 z, 100 y). An FBX file's header names its own up
 * axis and unit, which this program does not see: its frame is unknown.
 */
struct FFileFrame
{
    bool bKnown = false;
    /** "Y up, metres", or why the frame is unknown. */
    FString Description;

    FVector ToHost(const FVector& File) const
    {
        return FVector(File.X * 100.0, -File.Z * 100.0, File.Y * 100.0);
    }
    FVector ToFile(const FVector& Host) const
    {
        return FVector(Host.X / 100.0, Host.Z / 100.0, -Host.Y / 100.0);
    }
    /** The box around a host box's corners, in file coordinates. */
    FBox ToFile(const FBox& Host) const;
};

/** The frame of a file by its extension. */
FFileFrame GetFileFrame(const FString& Path);

/** What the host's frame is, for messages: "Z up, centimetres". */
extern const char* const HostFrameDescription;
