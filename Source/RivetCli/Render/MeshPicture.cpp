#include "RivetCli/Render/MeshPicture.h"

#include "RivetCli/Render/BitmapFont.h"
#include "RivetCli/Render/MeshRasterizer.h"
#include "RivetCli/Render/RenderPalette.h"

#include <algorithm>
#include <cmath>

namespace
{
/** A legend entry placed on a line of the strip. */
struct FPlacedEntry
{
    const FLegendEntry* Entry = nullptr;
    int32 X = 0;
    int32 Line = 0;
};

struct FStripLayout
{
    int32 Scale = 1;
    int32 LineHeight = 0;
    int32 Padding = 0;
    TArray<FPlacedEntry> Entries;
    int32 LegendLines = 0;
    bool bCaption = false;

    int32 Height() const
    {
        const int32 Lines = LegendLines + (bCaption ? 1 : 0);
        return Lines > 0 ? Lines * LineHeight + 2 * Padding : 0;
    }
};

int32 MarkWidth(const FLegendEntry& Entry, int32 Scale)
{
    switch (Entry.Kind)
    {
        case FLegendEntry::EKind::Swatch:
            return 9 * Scale;
        case FLegendEntry::EKind::HeatRamp:
            return 40 * Scale;
        case FLegendEntry::EKind::TextOnly:
            break;
    }
    return 0;
}

int32 EntryWidth(const FLegendEntry& Entry, int32 Scale)
{
    return MarkWidth(Entry, Scale) + BitmapFont::MeasureText(Entry.Label, Scale);
}

/** Lays the entries out left to right in lines as wide as the image; leaves out what does not fit. */
FStripLayout LayOutStrip(const FPicture& Picture, int32 Width, int32 Height)
{
    FStripLayout Layout;
    Layout.Scale = Width >= 480 ? 2 : 1;
    Layout.LineHeight = (BitmapFont::CellHeight + 2) * Layout.Scale;
    Layout.Padding = 3 * Layout.Scale;
    const int32 Gap = 2 * BitmapFont::CellWidth * Layout.Scale;
    int32 X = Layout.Padding;
    int32 Line = 0;
    for (const FLegendEntry& Entry : Picture.Legend)
    {
        const int32 EntryPixels = EntryWidth(Entry, Layout.Scale);
        if (X > Layout.Padding && X + EntryPixels > Width - Layout.Padding)
        {
            X = Layout.Padding;
            ++Line;
        }
        Layout.Entries.Add({&Entry, X, Line});
        X += EntryPixels + Gap;
    }
    Layout.LegendLines = Picture.Legend.IsEmpty() ? 0 : Line + 1;
    Layout.bCaption = !Picture.Caption.IsEmpty();
    // The mesh keeps at least two thirds of the image.
    while (Layout.LegendLines > 0 && Layout.Height() * 3 > Height)
    {
        --Layout.LegendLines;
    }
    if (Layout.Height() * 3 > Height)
    {
        Layout.bCaption = false;
    }
    return Layout;
}

void DrawMark(FRenderImage& Image, const FLegendEntry& Entry, int32 X, int32 Y, int32 Scale)
{
    const int32 Size = 7 * Scale;
    if (Entry.Kind == FLegendEntry::EKind::Swatch)
    {
        Image.FillRect(X, Y + Scale, Size, Size, Entry.Color);
    }
    else if (Entry.Kind == FLegendEntry::EKind::HeatRamp)
    {
        const int32 Length = 36 * Scale;
        for (int32 Step = 0; Step < Length; ++Step)
        {
            Image.FillRect(X + Step, Y + Scale, 1, Size, RenderPalette::HeatColor(Step / double(Length - 1)));
        }
    }
}

/** A caption too long for its line is drawn at the smallest scale, and cut with "..." if it still does not
 * fit. */
void DrawCaption(FRenderImage& Image, const FString& Caption, const FStripLayout& Layout, int32 Y)
{
    const int32 Room = Image.GetWidth() - 2 * Layout.Padding;
    const int32 Scale = BitmapFont::MeasureText(Caption, Layout.Scale) <= Room ? Layout.Scale : 1;
    const int32 MaxCharacters = Room / BitmapFont::CellWidth;
    const bool bCut = BitmapFont::MeasureText(Caption, Scale) > Room && MaxCharacters > 3;
    BitmapFont::DrawText(Image, Layout.Padding, Y, bCut ? Caption.Left(MaxCharacters - 3) + "..." : Caption,
                         RenderPalette::Text, Scale);
}

void DrawStrip(FRenderImage& Image, const FPicture& Picture, const FStripLayout& Layout)
{
    const int32 Top = Image.GetHeight() - Layout.Height();
    Image.FillRect(0, Top, Image.GetWidth(), Layout.Height(), RenderPalette::PanelBackground);
    for (const FPlacedEntry& Placed : Layout.Entries)
    {
        if (Placed.Line >= Layout.LegendLines)
        {
            continue;
        }
        const int32 Y = Top + Layout.Padding + Placed.Line * Layout.LineHeight;
        DrawMark(Image, *Placed.Entry, Placed.X, Y, Layout.Scale);
        BitmapFont::DrawText(Image, Placed.X + MarkWidth(*Placed.Entry, Layout.Scale), Y - Layout.Scale,
                             Placed.Entry->Label, RenderPalette::Text, Layout.Scale);
    }
    if (Layout.bCaption)
    {
        const int32 Y = Top + Layout.Padding + Layout.LegendLines * Layout.LineHeight;
        DrawCaption(Image, Picture.Caption, Layout, Y);
    }
}
} // namespace

bool ParseRenderColorBy(const FString& Text, FRenderColorBy& Out, FString& OutError)
{
    const FString Trimmed = Text.TrimStartAndEnd();
    FString Mode = Trimmed;
    FString Bone;
    const bool bHasBone = Trimmed.Split(":", &Mode, &Bone);
    Mode = Mode.ToLower();
    Bone = Bone.TrimStartAndEnd();
    if (!bHasBone && (Mode == "slot" || Mode == "island"))
    {
        Out = {Mode == "slot" ? ERenderColoring::Slot : ERenderColoring::Island, FString()};
        return true;
    }
    if (bHasBone && !Bone.IsEmpty() && (Mode == "bone" || Mode == "weights"))
    {
        Out = {Mode == "bone" ? ERenderColoring::Bone : ERenderColoring::Weights, Bone};
        return true;
    }
    OutError = FString::Printf("'%s' is not a coloring (slot, bone:NAME, weights:NAME or island)", *Text);
    return false;
}

FBox ComputeDrawnBounds(const FRenderMesh& Mesh)
{
    FBox Bounds;
    for (const FIndex3i& Triangle : Mesh.Triangles)
    {
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            const int32 Index = Triangle[Corner];
            if (!Mesh.Positions.IsValidIndex(Index))
            {
                continue;
            }
            const FVector& Point = Mesh.Positions[Index];
            if (std::isfinite(Point.X) && std::isfinite(Point.Y) && std::isfinite(Point.Z))
            {
                Bounds += Point;
            }
        }
    }
    return Bounds;
}

FRenderImage DrawPicture(const FPicture& Picture, const FPictureOptions& Options, const FBox& Framed)
{
    FRenderImage Image(Options.Width, Options.Height, RenderPalette::Background);
    const FStripLayout Layout = LayOutStrip(Picture, Options.Width, Options.Height);
    const FRenderViewport Viewport{0, 0, Options.Width, Options.Height - Layout.Height()};
    const FRenderCamera Camera = FrameBounds(Framed, Options.View, Options.bPerspective, Viewport);
    RasterizeMesh(Picture.Mesh, Camera, Viewport, {.bWireframe = Options.bWireframe}, Image);
    DrawStrip(Image, Picture, Layout);
    return Image;
}
