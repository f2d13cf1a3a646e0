#pragma once

#include "Core/CoreTypes.h"

#include <compare>

/**
 * The ID of one element of a mesh description. Each element kind has its own ID type, so a
 * triangle ID can never be passed where a vertex ID is expected; the integer is reached through
 * GetValue().
 */
template <typename Tag>
class TElementID
{
public:
    constexpr TElementID() = default;
    constexpr explicit TElementID(int32 InValue) : Value(InValue) {}

    static constexpr TElementID Invalid() { return TElementID(); }

    constexpr int32 GetValue() const { return Value; }
    constexpr bool IsSet() const { return Value != INDEX_NONE; }

    friend constexpr bool operator==(TElementID, TElementID) = default;
    friend constexpr auto operator<=>(TElementID, TElementID) = default;
    friend uint32 GetTypeHash(TElementID ID) { return static_cast<uint32>(ID.Value); }

private:
    int32 Value = INDEX_NONE;
};

using FVertexID = TElementID<struct FVertexTag>;
using FVertexInstanceID = TElementID<struct FVertexInstanceTag>;
using FEdgeID = TElementID<struct FEdgeTag>;
using FTriangleID = TElementID<struct FTriangleTag>;
using FPolygonID = TElementID<struct FPolygonTag>;
using FPolygonGroupID = TElementID<struct FPolygonGroupTag>;
