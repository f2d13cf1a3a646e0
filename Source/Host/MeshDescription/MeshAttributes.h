#pragma once

#include "Core/Name/Name.h"

/** The names of the standard mesh description attributes, per element kind. */
namespace MeshAttribute
{
namespace Vertex
{
/** FVector3f. */
inline const FName Position("Position");
} // namespace Vertex

namespace VertexInstance
{
/** FVector3f. */
inline const FName Normal("Normal");
/** FVector3f. */
inline const FName Tangent("Tangent");
/** float, +1 or -1: the sign of the binormal against Normal x Tangent. */
inline const FName BinormalSign("BinormalSign");
/** FVector2f, one channel per texture coordinate set. */
inline const FName TextureCoordinate("TextureCoordinate");
/** FVector4f, linear RGBA. */
inline const FName Color("Color");
} // namespace VertexInstance

namespace PolygonGroup
{
/** FName: the material slot the group draws with. */
inline const FName ImportedMaterialSlotName("ImportedMaterialSlotName");
} // namespace PolygonGroup
} // namespace MeshAttribute
