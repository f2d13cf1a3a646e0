#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/Box.h"
#include "Core/Math/Vector.h"

/**
 * Where the camera looks from, in the host's axes (Z up, a character facing -Y): front looks from -Y,
 * back from +Y, left from +X (the character's left side), right from -X, top from above with +Y up on
 * the image, three-quarter from the front-left and above.
 */
enum class ERenderView : uint8
{
    Front,
    Back,
    Left,
    Right,
    Top,
    ThreeQuarter,
};

/** "front", "back", "left", "right", "top", "three-quarter". */
const char* RenderViewName(ERenderView View);
/** A view by its name, without regard to case; false for any other text. */
bool ParseRenderView(const FString& Text, ERenderView& Out);

/** The part of the image the mesh is drawn into, in pixels. */
struct FRenderViewport
{
    int32 X = 0;
    int32 Y = 0;
    int32 Width = 0;
    int32 Height = 0;
};

/** A point seen by the camera: image coordinates and a depth that grows toward the camera. */
struct FProjectedPoint
{
    double X = 0.0;
    double Y = 0.0;
    double Nearness = 0.0;
    /** False behind the camera or at non-finite coordinates. */
    bool bVisible = false;
};

/** An orthographic or perspective camera; build it with FrameBounds. */
struct FRenderCamera
{
    /** Unit axes of the image: right, up, and the direction the camera looks. */
    FVector Right;
    FVector Up;
    FVector Forward;
    /** Orthographic: a point on the axis through the centre of the bounds; perspective: the eye. */
    FVector Eye;
    bool bPerspective = false;
    /** Orthographic: pixels per unit; perspective: the focal length in pixels. */
    double Scale = 1.0;
    double CenterX = 0.0;
    double CenterY = 0.0;
    /** Perspective: points nearer than this along Forward are behind the camera. */
    double NearDistance = 0.0;

    FProjectedPoint Project(const FVector& Point) const;
};

/** A camera that looks at Bounds from View and fits them into the viewport with a small margin. */
FRenderCamera FrameBounds(const FBox& Bounds, ERenderView View, bool bPerspective,
                          const FRenderViewport& Viewport);
