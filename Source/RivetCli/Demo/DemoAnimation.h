#pragma once

#include "Core/CoreTypes.h"

class FDemoRig;
class UAnimSequence;
class USkeleton;

/** The wave's keys: one second at 30 keys per second. */
inline constexpr int32 DemoWaveNumKeys = 31;
inline constexpr double DemoWaveFrameRate = 30.0;

/**
 * Keys the wave on the skeleton: the right arm rises to the side, the forearm and hand wave twice
 * and the arm comes down again, while the head tilts toward it. Tracks for UpperArm_R, LowerArm_R,
 * Hand_R and Head; the first and last keys are the reference pose, so the animation loops.
 */
void BuildDemoWave(UAnimSequence& Animation, USkeleton& Skeleton, const FDemoRig& Rig);
