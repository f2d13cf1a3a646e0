#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Vector.h"
#include "GeometryCore/IndexTypes.h"
#include "RivetCli/Render/RenderImage.h"

/** What the rasteriser draws: triangles over positions, each with its colour. */
struct FRenderMesh
{
    TArray<FVector> Positions;
    /** Indices into Positions. */
    TArray<FIndex3i> Triangles;
    /** One colour per triangle. */
    TArray<FRenderColor> TriangleColors;
    /** Optional, one colour per position: when set, colours blend across each triangle instead. */
    TArray<FRenderColor> VertexColors;
    /** Optional, per triangle: non-zero ones are drawn in the highlight colour. */
    TArray<uint8> Highlighted;
};
