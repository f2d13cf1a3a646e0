#include "RivetCli/Render/RenderImage.h"

#include <algorithm>
#include <cmath>

namespace
{
uint8 ToChannel(double Value)
{
    return static_cast<uint8>(std::clamp(std::lround(Value), 0L, 255L));
}
} // namespace

FRenderColor FRenderColor::Lerp(const FRenderColor& Other, double Amount) const
{
    return {ToChannel(R + (Other.R - R) * Amount), ToChannel(G + (Other.G - G) * Amount),
            ToChannel(B + (Other.B - B) * Amount)};
}

FRenderColor FRenderColor::Scaled(double Factor) const
{
    return {ToChannel(R * Factor), ToChannel(G * Factor), ToChannel(B * Factor)};
}

FRenderImage::FRenderImage(int32 InWidth, int32 InHeight, FRenderColor Background)
    : Width(std::max(InWidth, 0)), Height(std::max(InHeight, 0))
{
    Bytes.SetNum(Width * Height * 3);
    FillRect(0, 0, Width, Height, Background);
}

FRenderColor FRenderImage::Get(int32 X, int32 Y) const
{
    const int32 Offset = (Y * Width + X) * 3;
    return {Bytes[Offset], Bytes[Offset + 1], Bytes[Offset + 2]};
}

void FRenderImage::Set(int32 X, int32 Y, FRenderColor Color)
{
    if (X < 0 || Y < 0 || X >= Width || Y >= Height)
    {
        return;
    }
    const int32 Offset = (Y * Width + X) * 3;
    Bytes[Offset] = Color.R;
    Bytes[Offset + 1] = Color.G;
    Bytes[Offset + 2] = Color.B;
}

void FRenderImage::FillRect(int32 X, int32 Y, int32 RectWidth, int32 RectHeight, FRenderColor Color)
{
    const int32 X1 = std::min(X + RectWidth, Width);
    const int32 Y1 = std::min(Y + RectHeight, Height);
    for (int32 Row = std::max(Y, 0); Row < Y1; ++Row)
    {
        for (int32 Column = std::max(X, 0); Column < X1; ++Column)
        {
            Set(Column, Row, Color);
        }
    }
}
