#pragma once

#include "RivetCli/Render/RenderImage.h"

/** The colours of rendered pictures. */
namespace RenderPalette
{
constexpr FRenderColor Background{250, 250, 248};
constexpr FRenderColor PanelBackground{232, 232, 230};
constexpr FRenderColor Text{25, 25, 25};
/** Triangles that a coloring leaves out (not weighted to the bone). */
constexpr FRenderColor Neutral{175, 175, 175};
/** Triangles weighted to the bone of a bone coloring. */
constexpr FRenderColor Bone{215, 80, 60};

/** A fixed colour per slot index; the palette repeats after twelve. */
FRenderColor SlotColor(int32 Slot);
/** A colour per island index, spread around the hue circle. */
FRenderColor IslandColor(int32 Island);
/** Blue at 0, green at 0.5, red at 1: red grows and blue falls as the weight grows. */
FRenderColor HeatColor(double Weight);
} // namespace RenderPalette
