#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Math/Box.h"
#include "RivetCli/Render/RenderCamera.h"
#include "RivetCli/Render/RenderImage.h"
#include "RivetCli/Render/RenderMesh.h"

/** What the triangles' colours show. */
enum class ERenderColoring : uint8
{
    /** Each material slot in its own colour. */
    Slot,
    /** The triangles with a corner weighted to a bone. */
    Bone,
    /** A heat map of one bone's weights. */
    Weights,
    /** Each connected part in its own colour. */
    Island,
};

struct FRenderColorBy
{
    ERenderColoring Mode = ERenderColoring::Slot;
    /** Bone and Weights: the bone's name. */
    FString Bone;
};

/** "slot", "bone:NAME", "weights:NAME" or "island"; false with a message quoting the text otherwise. */
bool ParseRenderColorBy(const FString& Text, FRenderColorBy& Out, FString& OutError);

/** How a picture is drawn. */
struct FPictureOptions
{
    ERenderView View = ERenderView::ThreeQuarter;
    bool bPerspective = false;
    int32 Width = 800;
    int32 Height = 800;
    bool bWireframe = false;
    FRenderColorBy ColorBy;
};

/** An entry of the legend under the picture. */
struct FLegendEntry
{
    enum class EKind : uint8
    {
        Swatch,
        HeatRamp,
        TextOnly,
    };
    EKind Kind = EKind::Swatch;
    FRenderColor Color;
    FString Label;
};

/** A mesh ready to draw, with the legend and the one-line caption that go under it. */
struct FPicture
{
    FRenderMesh Mesh;
    TArray<FLegendEntry> Legend;
    FString Caption;
};

/** The bounds of the positions the triangles use, finite ones only; invalid when there are none. */
FBox ComputeDrawnBounds(const FRenderMesh& Mesh);

/**
 * Draws the picture: the mesh framed on Framed (pass the union of several pictures' bounds to draw
 * them from one camera), then a strip with the legend and the caption. On images too small for the
 * strip, the legend and then the caption are left out.
 */
FRenderImage DrawPicture(const FPicture& Picture, const FPictureOptions& Options, const FBox& Framed);
