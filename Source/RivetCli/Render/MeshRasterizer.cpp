#include "RivetCli/Render/MeshRasterizer.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double Ambient = 0.35;
constexpr double Diffuse = 0.65;
/** Back sides, seen through holes, are darker than front sides. */
constexpr double BackSideFactor = 0.6;
/** Half the width of a wireframe line, in pixels. */
constexpr double HalfLineWidth = 0.6;

/** A triangle on the image: its corners, its light factor and what it is painted with. */
struct FScreenTriangle
{
    FProjectedPoint Corners[3];
    double Area = 0.0;
    double Light = 1.0;
    FRenderColor Colors[3];
    bool bBlend = false;
};

/** Twice the signed area of (A, B, P): positive when P lies left of A->B on the image (y down). */
double EdgeFunction(const FProjectedPoint& A, const FProjectedPoint& B, double X, double Y)
{
    return (B.X - A.X) * (Y - A.Y) - (B.Y - A.Y) * (X - A.X);
}

/** The direction toward the light, fixed to the camera. */
FVector LightDirection(const FRenderCamera& Camera)
{
    return (Camera.Up * 0.6 - Camera.Right * 0.4 - Camera.Forward * 0.7).GetSafeNormal();
}

/** The light factor of a triangle with the given normal, seen from its side that faces the camera. */
double ShadeTriangle(const FVector& Normal, const FVector& Centroid, const FRenderCamera& Camera)
{
    const FVector TowardEye = Camera.bPerspective ? Camera.Eye - Centroid : -Camera.Forward;
    const bool bFrontSide = Normal.Dot(TowardEye) >= 0.0;
    const FVector Facing = bFrontSide ? Normal : -Normal;
    const double Light = Ambient + Diffuse * std::max(0.0, Facing.Dot(LightDirection(Camera)));
    return bFrontSide ? Light : Light * BackSideFactor;
}

bool SetUpTriangle(const FRenderMesh& Mesh, int32 Triangle, const FRenderCamera& Camera,
                   const FRasterOptions& Options, FScreenTriangle& Out)
{
    const FIndex3i Indices = Mesh.Triangles[Triangle];
    FVector Points[3];
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        const int32 Index = Indices[Corner];
        if (Index < 0 || Index >= Mesh.Positions.Num())
        {
            return false;
        }
        Points[Corner] = Mesh.Positions[Index];
        Out.Corners[Corner] = Camera.Project(Points[Corner]);
        if (!Out.Corners[Corner].bVisible)
        {
            return false;
        }
    }
    Out.Area = EdgeFunction(Out.Corners[0], Out.Corners[1], Out.Corners[2].X, Out.Corners[2].Y);
    const FVector Normal = (Points[1] - Points[0]).Cross(Points[2] - Points[0]).GetSafeNormal();
    if (std::abs(Out.Area) < 1e-9 || Normal.SizeSquared() == 0.0)
    {
        return false;
    }
    Out.Light = ShadeTriangle(Normal, (Points[0] + Points[1] + Points[2]) / 3.0, Camera);
    Out.bBlend = Mesh.VertexColors.Num() == Mesh.Positions.Num();
    const bool bHighlighted = Mesh.Highlighted.IsValidIndex(Triangle) && Mesh.Highlighted[Triangle];
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        FRenderColor Color = Out.bBlend ? Mesh.VertexColors[Indices[Corner]] : Mesh.TriangleColors[Triangle];
        if (bHighlighted)
        {
            Color = Color.Lerp(Options.HighlightColor, Options.HighlightAmount);
        }
        Out.Colors[Corner] = Color;
    }
    return true;
}

FRenderColor BlendColors(const FScreenTriangle& Triangle, const double Weights[3])
{
    if (!Triangle.bBlend)
    {
        return Triangle.Colors[0];
    }
    const auto Channel = [&](uint8 FRenderColor::*Member)
    {
        const double Value = Weights[0] * (Triangle.Colors[0].*Member) +
                             Weights[1] * (Triangle.Colors[1].*Member) +
                             Weights[2] * (Triangle.Colors[2].*Member);
        return static_cast<uint8>(std::clamp(std::lround(Value), 0L, 255L));
    };
    return {Channel(&FRenderColor::R), Channel(&FRenderColor::G), Channel(&FRenderColor::B)};
}

/** A pixel coordinate clamped to [Low, High] before it becomes an integer, so far-off corners cannot
 * overflow. */
int32 ClampPixel(double Value, int32 Low, int32 High)
{
    return static_cast<int32>(std::clamp(Value, static_cast<double>(Low), static_cast<double>(High)));
}

/** Draws one triangle; Nearness holds, per viewport pixel, the nearest depth drawn so far. */
void DrawTriangle(const FScreenTriangle& Triangle, const FRenderViewport& Viewport,
                  const FRasterOptions& Options, TArray<double>& Nearness, FRenderImage& Image)
{
    const FProjectedPoint* Corners = Triangle.Corners;
    const double MinX = std::min({Corners[0].X, Corners[1].X, Corners[2].X});
    const double MaxX = std::max({Corners[0].X, Corners[1].X, Corners[2].X});
    const double MinY = std::min({Corners[0].Y, Corners[1].Y, Corners[2].Y});
    const double MaxY = std::max({Corners[0].Y, Corners[1].Y, Corners[2].Y});
    const int32 X0 = ClampPixel(std::floor(MinX), Viewport.X, Viewport.X + Viewport.Width);
    const int32 X1 = ClampPixel(std::ceil(MaxX), Viewport.X - 1, Viewport.X + Viewport.Width - 1);
    const int32 Y0 = ClampPixel(std::floor(MinY), Viewport.Y, Viewport.Y + Viewport.Height);
    const int32 Y1 = ClampPixel(std::ceil(MaxY), Viewport.Y - 1, Viewport.Y + Viewport.Height - 1);
    double EdgeLengths[3];
    for (int32 Edge = 0; Edge < 3; ++Edge)
    {
        const FProjectedPoint& A = Corners[(Edge + 1) % 3];
        const FProjectedPoint& B = Corners[(Edge + 2) % 3];
        EdgeLengths[Edge] = std::hypot(B.X - A.X, B.Y - A.Y);
    }
    const double Sign = Triangle.Area > 0.0 ? 1.0 : -1.0;
    for (int32 Y = Y0; Y <= Y1; ++Y)
    {
        for (int32 X = X0; X <= X1; ++X)
        {
            const double PX = X + 0.5;
            const double PY = Y + 0.5;
            // Edge i is the one opposite corner i; its function weighs corner i.
            const double Edges[3] = {Sign * EdgeFunction(Corners[1], Corners[2], PX, PY),
                                     Sign * EdgeFunction(Corners[2], Corners[0], PX, PY),
                                     Sign * EdgeFunction(Corners[0], Corners[1], PX, PY)};
            if (Edges[0] < 0.0 || Edges[1] < 0.0 || Edges[2] < 0.0)
            {
                continue;
            }
            const double Total = std::abs(Triangle.Area);
            const double Weights[3] = {Edges[0] / Total, Edges[1] / Total, Edges[2] / Total};
            const double Depth = Weights[0] * Corners[0].Nearness + Weights[1] * Corners[1].Nearness +
                                 Weights[2] * Corners[2].Nearness;
            double& Nearest = Nearness[(Y - Viewport.Y) * Viewport.Width + (X - Viewport.X)];
            if (Depth <= Nearest)
            {
                continue;
            }
            Nearest = Depth;
            const bool bOnEdge = Options.bWireframe && (Edges[0] / EdgeLengths[0] < HalfLineWidth ||
                                                        Edges[1] / EdgeLengths[1] < HalfLineWidth ||
                                                        Edges[2] / EdgeLengths[2] < HalfLineWidth);
            Image.Set(X, Y,
                      bOnEdge ? Options.WireColor : BlendColors(Triangle, Weights).Scaled(Triangle.Light));
        }
    }
}
} // namespace

void RasterizeMesh(const FRenderMesh& Mesh, const FRenderCamera& Camera, const FRenderViewport& Viewport,
                   const FRasterOptions& Options, FRenderImage& Image)
{
    if (Viewport.Width <= 0 || Viewport.Height <= 0)
    {
        return;
    }
    TArray<double> Nearness;
    Nearness.Init(-HUGE_VAL, Viewport.Width * Viewport.Height);
    FScreenTriangle Triangle;
    for (int32 Index = 0; Index < Mesh.Triangles.Num(); ++Index)
    {
        if (SetUpTriangle(Mesh, Index, Camera, Options, Triangle))
        {
            DrawTriangle(Triangle, Viewport, Options, Nearness, Image);
        }
    }
}
