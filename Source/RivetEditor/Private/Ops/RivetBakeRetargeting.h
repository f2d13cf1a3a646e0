#pragma once

#include "Core/CoreTypes.h"

class USkeleton;

/**
 * Switches every bone of the skeleton that is not yet AnimationScaled to that translation retargeting
 * mode, so that animations follow baked bone lengths. The setting belongs to the skeleton and so
 * reaches every mesh and animation that use it. Records the skeleton first; marks it dirty only when a
 * bone switched. Answers the bones switched; 0 for a null skeleton or one without bones.
 */
int32 SwitchSkeletonToScaledRetargeting(USkeleton* Skeleton);
