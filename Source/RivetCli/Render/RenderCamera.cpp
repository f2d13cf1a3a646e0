#include "RivetCli/Render/RenderCamera.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
/** The share of the viewport left empty on each side. */
constexpr double Margin = 0.05;
/** The perspective camera's narrower angle of view, in degrees. */
constexpr double FieldOfView = 30.0;

struct FViewAxes
{
    FVector Forward;
    FVector Up;
};

FViewAxes AxesOf(ERenderView View)
{
    const FVector ZUp(0, 0, 1);
    switch (View)
    {
        case ERenderView::Front:
            return {FVector(0, 1, 0), ZUp};
        case ERenderView::Back:
            return {FVector(0, -1, 0), ZUp};
        case ERenderView::Left:
            return {FVector(-1, 0, 0), ZUp};
        case ERenderView::Right:
            return {FVector(1, 0, 0), ZUp};
        case ERenderView::Top:
            return {FVector(0, 0, -1), FVector(0, 1, 0)};
        case ERenderView::ThreeQuarter:
            break;
    }
    const FVector Forward = FVector(-0.7, 1.0, -0.6).GetSafeNormal();
    return {Forward, (ZUp - Forward * ZUp.Dot(Forward)).GetSafeNormal()};
}

std::array<FVector, 8> CornersOf(const FBox& Bounds)
{
    std::array<FVector, 8> Corners;
    for (int32 Index = 0; Index < 8; ++Index)
    {
        Corners[Index] =
            FVector(Index & 1 ? Bounds.Max.X : Bounds.Min.X, Index & 2 ? Bounds.Max.Y : Bounds.Min.Y,
                    Index & 4 ? Bounds.Max.Z : Bounds.Min.Z);
    }
    return Corners;
}

bool IsFinite(const FVector& Point)
{
    return std::isfinite(Point.X) && std::isfinite(Point.Y) && std::isfinite(Point.Z);
}

void FrameOrthographic(FRenderCamera& Camera, const FBox& Bounds, const FRenderViewport& Viewport)
{
    double MinX = HUGE_VAL, MaxX = -HUGE_VAL, MinY = HUGE_VAL, MaxY = -HUGE_VAL;
    for (const FVector& Corner : CornersOf(Bounds))
    {
        MinX = std::min(MinX, Corner.Dot(Camera.Right));
        MaxX = std::max(MaxX, Corner.Dot(Camera.Right));
        MinY = std::min(MinY, Corner.Dot(Camera.Up));
        MaxY = std::max(MaxY, Corner.Dot(Camera.Up));
    }
    const double Usable = 1.0 - 2.0 * Margin;
    const double Width = std::max(MaxX - MinX, 1e-9);
    const double Height = std::max(MaxY - MinY, 1e-9);
    Camera.Scale = std::min(Viewport.Width * Usable / Width, Viewport.Height * Usable / Height);
    // A box's corners project symmetrically about its centre, so the eye looks through the centre.
    Camera.Eye = Bounds.GetCenter() - Camera.Forward * (Bounds.GetExtent().Size() * 2.0 + 1.0);
}

void FramePerspective(FRenderCamera& Camera, const FBox& Bounds, const FRenderViewport& Viewport)
{
    const double HalfAngle = FieldOfView * 0.5 * 3.14159265358979323846 / 180.0;
    const double Radius = std::max(Bounds.GetExtent().Size(), 1e-6);
    const double Distance = Radius / std::sin(HalfAngle) / (1.0 - 2.0 * Margin);
    Camera.Scale = std::min(Viewport.Width, Viewport.Height) * 0.5 / std::tan(HalfAngle);
    Camera.Eye = Bounds.GetCenter() - Camera.Forward * Distance;
    Camera.NearDistance = Distance * 1e-3;
}
} // namespace

const char* RenderViewName(ERenderView View)
{
    switch (View)
    {
        case ERenderView::Front:
            return "front";
        case ERenderView::Back:
            return "back";
        case ERenderView::Left:
            return "left";
        case ERenderView::Right:
            return "right";
        case ERenderView::Top:
            return "top";
        case ERenderView::ThreeQuarter:
            break;
    }
    return "three-quarter";
}

bool ParseRenderView(const FString& Text, ERenderView& Out)
{
    const FString Lower = Text.ToLower();
    for (const ERenderView View : {ERenderView::Front, ERenderView::Back, ERenderView::Left,
                                   ERenderView::Right, ERenderView::Top, ERenderView::ThreeQuarter})
    {
        if (Lower == RenderViewName(View))
        {
            Out = View;
            return true;
        }
    }
    return false;
}

FProjectedPoint FRenderCamera::Project(const FVector& Point) const
{
    const FVector Relative = Point - Eye;
    const double Depth = Relative.Dot(Forward);
    FProjectedPoint Projected;
    if (!IsFinite(Point) || (bPerspective && Depth <= NearDistance))
    {
        return Projected;
    }
    const double Factor = bPerspective ? Scale / Depth : Scale;
    Projected.X = CenterX + Relative.Dot(Right) * Factor;
    Projected.Y = CenterY - Relative.Dot(Up) * Factor;
    // Screen-space interpolation is exact for the orthographic depth and for the inverse perspective depth.
    Projected.Nearness = bPerspective ? 1.0 / Depth : -Depth;
    Projected.bVisible = std::isfinite(Projected.X) && std::isfinite(Projected.Y);
    return Projected;
}

FRenderCamera FrameBounds(const FBox& Bounds, ERenderView View, bool bPerspective,
                          const FRenderViewport& Viewport)
{
    const FViewAxes Axes = AxesOf(View);
    FRenderCamera Camera;
    Camera.Forward = Axes.Forward;
    Camera.Up = Axes.Up;
    Camera.Right = Axes.Forward.Cross(Axes.Up);
    Camera.bPerspective = bPerspective;
    Camera.CenterX = Viewport.X + Viewport.Width * 0.5;
    Camera.CenterY = Viewport.Y + Viewport.Height * 0.5;
    const FBox Framed = Bounds.bIsValid && IsFinite(Bounds.Min) && IsFinite(Bounds.Max)
                            ? Bounds
                            : FBox(FVector(-1, -1, -1), FVector(1, 1, 1));
    if (bPerspective)
    {
        FramePerspective(Camera, Framed, Viewport);
    }
    else
    {
        FrameOrthographic(Camera, Framed, Viewport);
    }
    return Camera;
}
