#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"

/** An 8-bit RGB colour. */
struct FRenderColor
{
    uint8 R = 0;
    uint8 G = 0;
    uint8 B = 0;

    bool operator==(const FRenderColor&) const = default;

    /** This colour moved toward Other by Amount (0 keeps it, 1 gives Other). */
    FRenderColor Lerp(const FRenderColor& Other, double Amount) const;
    /** Every channel times Factor, clamped. */
    FRenderColor Scaled(double Factor) const;
};

/** An RGB image, rows from the top, three bytes a pixel. */
class FRenderImage
{
public:
    FRenderImage(int32 InWidth, int32 InHeight, FRenderColor Background);

    int32 GetWidth() const { return Width; }
    int32 GetHeight() const { return Height; }
    const TArray<uint8>& GetBytes() const { return Bytes; }

    FRenderColor Get(int32 X, int32 Y) const;
    /** Pixels outside the image are ignored. */
    void Set(int32 X, int32 Y, FRenderColor Color);
    /** Fills the rectangle, clipped to the image. */
    void FillRect(int32 X, int32 Y, int32 RectWidth, int32 RectHeight, FRenderColor Color);

private:
    int32 Width = 0;
    int32 Height = 0;
    TArray<uint8> Bytes;
};
