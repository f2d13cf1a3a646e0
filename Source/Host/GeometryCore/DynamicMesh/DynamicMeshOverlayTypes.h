#pragma once

#include "GeometryCore/DynamicMesh/DynamicMeshOverlay.h"

/** Texture coordinates at triangle corners. */
class FDynamicMeshUVOverlay : public TDynamicMeshOverlay<float, 2>
{
public:
    using TDynamicMeshOverlay::TDynamicMeshOverlay;
};

/** Shading normals at triangle corners. */
class FDynamicMeshNormalOverlay : public TDynamicMeshOverlay<float, 3>
{
public:
    using TDynamicMeshOverlay::TDynamicMeshOverlay;
};

/** Tangents at triangle corners: the tangent in XYZ, the sign of the binormal in W. */
class FDynamicMeshTangentOverlay : public TDynamicMeshOverlay<float, 4>
{
public:
    using TDynamicMeshOverlay::TDynamicMeshOverlay;
};

/** Linear RGBA colours at triangle corners. */
class FDynamicMeshColorOverlay : public TDynamicMeshOverlay<float, 4>
{
public:
    using TDynamicMeshOverlay::TDynamicMeshOverlay;
};
