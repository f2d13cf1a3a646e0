#pragma once

#include "Core/Containers/String.h"
#include "RivetCli/Render/RenderImage.h"

/**
 * A 5 x 7 pixel font for printable ASCII, drawn in cells of 6 x 9 pixels at a whole-number scale.
 * Characters outside printable ASCII (each UTF-8 sequence counts as one) are drawn as '?'.
 */
namespace BitmapFont
{
constexpr int32 CellWidth = 6;
constexpr int32 CellHeight = 9;

/** The width in pixels of Text drawn at Scale. */
int32 MeasureText(const FString& Text, int32 Scale);

/** Draws Text with its top-left corner at (X, Y); pixels outside the image are dropped. */
void DrawText(FRenderImage& Image, int32 X, int32 Y, const FString& Text, FRenderColor Color, int32 Scale);
} // namespace BitmapFont
