#pragma once

#include "GeometryCore/DynamicMesh/DynamicMeshAttributeValue.h"
#include "GeometryCore/DynamicMesh/DynamicMeshIndexedAttribute.h"

/** A value of N components of RealType per vertex; zero until set. */
template <typename RealType, int32 N>
class TDynamicMeshVertexAttribute
    : public TDynamicMeshIndexedAttribute<TDynamicMeshValue<RealType, N>, EDynamicMeshElement::Vertex>
{
public:
    using TDynamicMeshIndexedAttribute<TDynamicMeshValue<RealType, N>,
                                       EDynamicMeshElement::Vertex>::TDynamicMeshIndexedAttribute;
};
