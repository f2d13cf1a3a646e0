#include "RivetCli/PngReading.h"
#include "RivetCli/Render/MeshRasterizer.h"
#include "RivetCli/Render/PngFile.h"
#include "RivetCli/Render/RenderPalette.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
constexpr FRenderColor Red{200, 0, 0};
constexpr FRenderColor Blue{0, 0, 200};

void AddQuad(FRenderMesh& Mesh, const FVector& Corner, const FVector& EdgeA, const FVector& EdgeB,
             FRenderColor Color)
{
    const int32 First = Mesh.Positions.Num();
    Mesh.Positions.Append({Corner, Corner + EdgeA, Corner + EdgeA + EdgeB, Corner + EdgeB});
    Mesh.Triangles.Add(FIndex3i{First, First + 1, First + 2});
    Mesh.Triangles.Add(FIndex3i{First, First + 2, First + 3});
    Mesh.TriangleColors.Append({Color, Color});
}

/** A unit cube with its minimum corner at the origin, every side outward. */
FRenderMesh MakeUnitCube()
{
    FRenderMesh Cube;
    const FVector X(1, 0, 0), Y(0, 1, 0), Z(0, 0, 1), O(0, 0, 0);
    AddQuad(Cube, O, X, Z, Red); // front (-Y)
    AddQuad(Cube, Y, Z, X, Red); // back
    AddQuad(Cube, O, Z, Y, Red); // -X
    AddQuad(Cube, X, Y, Z, Red); // +X
    AddQuad(Cube, O, Y, X, Red); // bottom
    AddQuad(Cube, Z, X, Y, Red); // top
    return Cube;
}

struct FDrawn
{
    FRenderImage Image;
    FRenderCamera Camera;
};

FDrawn Draw(const FRenderMesh& Mesh, const FBox& Framed, ERenderView View, bool bPerspective = false,
            FRasterOptions Options = {})
{
    const FRenderViewport Viewport{0, 0, 120, 100};
    FDrawn Drawn{FRenderImage(Viewport.Width, Viewport.Height, RenderPalette::Background),
                 FrameBounds(Framed, View, bPerspective, Viewport)};
    RasterizeMesh(Mesh, Drawn.Camera, Viewport, Options, Drawn.Image);
    return Drawn;
}

int32 CountCovered(const FRenderImage& Image)
{
    int32 Covered = 0;
    for (int32 Y = 0; Y < Image.GetHeight(); ++Y)
    {
        for (int32 X = 0; X < Image.GetWidth(); ++X)
        {
            Covered += Image.Get(X, Y) != RenderPalette::Background;
        }
    }
    return Covered;
}

const FBox UnitBox(FVector(0, 0, 0), FVector(1, 1, 1));
} // namespace

TEST(MeshRasterizerTest, AUnitCubeFromTheFrontCoversItsSquareAndLeavesTheCornersEmpty)
{
    for (const bool bWireframe : {false, true})
    {
        const FDrawn Drawn =
            Draw(MakeUnitCube(), UnitBox, ERenderView::Front, false, {.bWireframe = bWireframe});

        // One unit is Scale pixels; the square's border pixels may go either way.
        const double Side = Drawn.Camera.Scale;
        EXPECT_NEAR(CountCovered(Drawn.Image), Side * Side, 4 * Side + 4);
        for (const auto& [X, Y] : {std::pair{0, 0}, {119, 0}, {0, 99}, {119, 99}})
        {
            EXPECT_EQ(Drawn.Image.Get(X, Y), RenderPalette::Background);
        }
        const FRenderColor Center = Drawn.Image.Get(60, 50);
        EXPECT_GT(Center.R, 0);
        EXPECT_EQ(Center.G, 0) << "the cube's own colour, lit";
    }
}

TEST(MeshRasterizerTest, TheNearerTriangleHidesTheFartherWhateverTheOrder)
{
    for (const bool bNearFirst : {false, true})
    {
        for (const bool bPerspective : {false, true})
        {
            FRenderMesh Mesh;
            const FVector Near(0, 0, 0), Far(0.25, 2, 0.25);
            AddQuad(Mesh, bNearFirst ? Near : Far, FVector(1, 0, 0), FVector(0, 0, 1),
                    bNearFirst ? Red : Blue);
            AddQuad(Mesh, bNearFirst ? Far : Near, FVector(1, 0, 0), FVector(0, 0, 1),
                    bNearFirst ? Blue : Red);
            const FBox Framed(FVector(0, 0, 0), FVector(1.25, 2, 1.25));

            const FDrawn Drawn = Draw(Mesh, Framed, ERenderView::Front, bPerspective);

            const FProjectedPoint Middle = Drawn.Camera.Project(FVector(0.6, 0, 0.6));
            const FRenderColor Seen = Drawn.Image.Get(int32(Middle.X), int32(Middle.Y));
            EXPECT_GT(Seen.R, 0);
            EXPECT_EQ(Seen.B, 0);
        }
    }
}

TEST(MeshRasterizerTest, TrianglesBehindTheCameraDegenerateNonFiniteOrOutOfRangeAreSkipped)
{
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    const double Infinity = std::numeric_limits<double>::infinity();
    FRenderMesh Mesh;
    // Behind a perspective camera that frames the unit box from the front (its eye is in front of -Y).
    AddQuad(Mesh, FVector(0, -500, 0), FVector(1, 0, 0), FVector(0, 0, 1), Red);
    Mesh.Positions.Append({FVector(0, 0, 0), FVector(0.5, 0, 0.5), FVector(1, 0, 1)}); // collinear
    Mesh.Positions.Append({FVector(NaN, 0, 0), FVector(1, 0, 0), FVector(0, 0, 1)});
    Mesh.Positions.Append({FVector(0, 0, 0), FVector(Infinity, 0, 0), FVector(0, 0, 1)});
    for (const int32 First : {4, 7, 10})
    {
        Mesh.Triangles.Add(FIndex3i{First, First + 1, First + 2});
        Mesh.TriangleColors.Add(Red);
    }
    Mesh.Triangles.Add(FIndex3i{0, 1, 99});
    Mesh.TriangleColors.Add(Red);

    const FDrawn Drawn = Draw(Mesh, UnitBox, ERenderView::Front, /*bPerspective=*/true);

    EXPECT_EQ(CountCovered(Drawn.Image), 0);
}

TEST(MeshRasterizerTest, EachTriangleShowsItsOwnColour)
{
    FRenderMesh Mesh;
    AddQuad(Mesh, FVector(0, 0, 0), FVector(1, 0, 0), FVector(0, 0, 1), Red);
    AddQuad(Mesh, FVector(1, 0, 0), FVector(1, 0, 0), FVector(0, 0, 1), Blue);
    Mesh.Highlighted = {0, 0, 1, 1};

    const FDrawn Drawn = Draw(Mesh, FBox(FVector(0, 0, 0), FVector(2, 0, 1)), ERenderView::Front);

    const FProjectedPoint Left = Drawn.Camera.Project(FVector(0.5, 0, 0.5));
    const FProjectedPoint Right = Drawn.Camera.Project(FVector(1.5, 0, 0.5));
    const FRenderColor LeftColor = Drawn.Image.Get(int32(Left.X), int32(Left.Y));
    const FRenderColor RightColor = Drawn.Image.Get(int32(Right.X), int32(Right.Y));
    EXPECT_GT(LeftColor.R, 0);
    EXPECT_EQ(LeftColor.B, 0);
    EXPECT_GT(RightColor.R, RightColor.B) << "the highlight turns blue toward yellow";
    EXPECT_GT(RightColor.G, 0);
}

TEST(MeshRasterizerTest, TheHeatMapGrowsRedAndLosesBlueWithTheWeight)
{
    FRenderColor Previous = RenderPalette::HeatColor(0.0);
    for (int32 Step = 1; Step <= 20; ++Step)
    {
        const FRenderColor Color = RenderPalette::HeatColor(Step / 20.0);
        EXPECT_GT(Color.R, Previous.R) << Step;
        EXPECT_LT(Color.B, Previous.B) << Step;
        Previous = Color;
    }
    EXPECT_EQ(RenderPalette::HeatColor(-1.0), RenderPalette::HeatColor(0.0));
    EXPECT_EQ(RenderPalette::HeatColor(std::nan("")), RenderPalette::HeatColor(0.0));
}

// That the same input gives the same bytes is the render command's test.
TEST(MeshRasterizerTest, ThePngReadsBackAsTheImage)
{
    const FRenderImage Image = Draw(MakeUnitCube(), UnitBox, ERenderView::ThreeQuarter, true).Image;
    const TArray<uint8> Png = EncodePng(Image);
    FDecodedPng Decoded;
    ASSERT_TRUE(DecodePngBytes(Png.GetData(), Png.Num(), Decoded));
    ASSERT_EQ(Decoded.Width, 120);
    ASSERT_EQ(Decoded.Height, 100);
    EXPECT_EQ(Decoded.Rgb, std::vector<uint8>(Image.GetBytes().begin(), Image.GetBytes().end()));
}
