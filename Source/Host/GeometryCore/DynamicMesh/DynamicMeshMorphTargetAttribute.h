#pragma once

#include "GeometryCore/DynamicMesh/DynamicMeshVertexAttribute.h"

/** A morph target: per vertex the offset of its position, zero where the target does not move it. */
class FDynamicMeshMorphTargetAttribute : public TDynamicMeshVertexAttribute<float, 3>
{
public:
    using TDynamicMeshVertexAttribute::TDynamicMeshVertexAttribute;
};
