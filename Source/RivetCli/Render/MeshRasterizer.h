#pragma once

#include "RivetCli/Render/RenderCamera.h"
#include "RivetCli/Render/RenderImage.h"
#include "RivetCli/Render/RenderMesh.h"

/** How the rasteriser draws. */
struct FRasterOptions
{
    /** Draw each triangle's edges over the shading. */
    bool bWireframe = false;
    FRenderColor WireColor{20, 20, 20};
    /** Highlighted triangles move this far toward the highlight colour. */
    FRenderColor HighlightColor{255, 210, 0};
    double HighlightAmount = 0.7;
};

/**
 * Draws the mesh into the viewport of the image with a depth buffer: flat shading by a diffuse light
 * fixed to the camera (above, left, in front of it), both sides of every triangle lit (back sides
 * darker). Triangles with a corner behind the camera or at non-finite coordinates, and triangles of
 * no area, are skipped. A pixel is covered when its centre lies inside the triangle or on its edge.
 * The result depends only on the input, so the same input gives the same bytes.
 */
void RasterizeMesh(const FRenderMesh& Mesh, const FRenderCamera& Camera, const FRenderViewport& Viewport,
                   const FRasterOptions& Options, FRenderImage& Image);
