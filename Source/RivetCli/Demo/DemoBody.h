#pragma once

#include "Core/Math/Vector4.h"
#include "MeshDescription/MeshDescription.h"

#include <span>

class FDemoRig;

/** How finely the figure is made: corners around each part and the spacing of rings along it (cm). */
struct FDemoTessellation
{
    int32 Segments = 16;
    double RingSpacing = 4.0;

    /** Half the corners and twice the ring spacing. */
    FDemoTessellation Coarser() const { return {Segments / 2, RingSpacing * 2.0}; }
};

/** A material slot of the figure and the colour of its material. */
struct FDemoSlot
{
    const char* Name;
    FVector4f BaseColor;
};

/** The figure's slots; polygon group i draws with slot i. */
std::span<const FDemoSlot> GetDemoSlots();

/** The morph target of the figure's face: the mouth corners and cheeks rise. */
inline constexpr const char* DemoSmileMorphName = "Smile";

/**
 * The figure's geometry as a skinned-mesh description: hips, torso, neck, head, arms, hands, legs and
 * feet, each a closed capsule or cylinder around its bones, in the slots Skin (head, neck, hands),
 * Shirt (torso, arms), Trousers (hips, legs) and Shoes (feet). A part is weighted to the bones along
 * its axis; across a joint the weight fades smoothly from one bone to the next, so vertices near
 * joints have two influences (raw weights summing to 65535). The head carries the morph target
 * Smile (position and normal deltas).
 */
FMeshDescription BuildDemoBody(const FDemoRig& Rig, const FDemoTessellation& Tessellation);
