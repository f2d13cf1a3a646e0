#pragma once

#include "GeometryCore/DynamicMesh/DynamicMeshIndexedAttribute.h"

/** A value of type T per triangle; value-initialized until set. */
template <typename T>
class TDynamicMeshTriangleAttribute : public TDynamicMeshIndexedAttribute<T, EDynamicMeshElement::Triangle>
{
public:
    using TDynamicMeshIndexedAttribute<T, EDynamicMeshElement::Triangle>::TDynamicMeshIndexedAttribute;
};

/** The material slot index of each triangle. */
class FDynamicMeshMaterialAttribute : public TDynamicMeshTriangleAttribute<int32>
{
public:
    using TDynamicMeshTriangleAttribute::TDynamicMeshTriangleAttribute;
};
