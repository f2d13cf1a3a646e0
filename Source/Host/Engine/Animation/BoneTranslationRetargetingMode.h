#pragma once

#include "Core/CoreTypes.h"
#include "CoreUObject/Object/ObjectMacros.h"

/** Where a bone's translation comes from when an animation plays on a skeleton it was not made for. */
VT_ENUM(ToolTip = "Where a bone's translation comes from when an animation is retargeted.")
enum class EBoneTranslationRetargetingMode : uint8
{
    /** The animation's translation, as keyed. */
    Animation VT_UMETA(DisplayName = "Animation"),
    /** The skeleton's reference translation; the animation's is ignored. */
    Skeleton VT_UMETA(DisplayName = "Skeleton"),
    /** The animation's translation scaled by the ratio of the two skeletons' bone lengths. */
    AnimationScaled VT_UMETA(DisplayName = "Animation Scaled"),
    /** The skeleton's translation plus the animation's offset from its own reference pose. */
    AnimationRelative VT_UMETA(DisplayName = "Animation Relative"),
    /** The skeleton's translation turned and scaled to follow the animation's bone direction. */
    OrientAndScale VT_UMETA(DisplayName = "Orient And Scale"),
};
VT_ENUM_BODY(EBoneTranslationRetargetingMode)
