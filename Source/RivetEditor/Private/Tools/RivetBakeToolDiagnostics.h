#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Math/Transform.h"

class UAnimPreviewInstance;
class UDebugSkelMeshComponent;
class UStaticMeshComponent;
class USkeletalMesh;

/** An angle in degrees folded into (-180, 180]. */
double FoldAngleDegrees(double Degrees);

/**
 * A bone's change D (reference to current, in component space) as Detected lists it: the angle of D's
 * rotation folded into (-180, 180], its axis ((1, 0, 0) for none) and D's X scale. Logs a "Visible" line.
 */
FString DescribeBoneDelta(const FString& BoneName, const FTransform& Delta);

/**
 * What the Bake Bone Transform tool sees, as its Detected field shows it: the preview's mesh, physics
 * asset and each bone controller's change against the reference pose. Logs a "Visible" line for the
 * preview and one per bone it can measure, and a warning when it cannot reach the preview.
 */
FString DescribeDetected(const UDebugSkelMeshComponent* Component, const UAnimPreviewInstance* Instance);

/** The preview scene's floor: a static mesh component of the world without an owner, its mesh named "Floor". */
UStaticMeshComponent* FindFloorComponent(const UDebugSkelMeshComponent& Preview);

/** Logs how the mesh's lowest point stands to the floor, under the label; nothing without a component. */
void LogFloorDiagnostics(const char* Label, const UDebugSkelMeshComponent* Component);

/** Logs the skeleton against the mesh: the bone counts and, for the first six bones, the bone lengths. */
void LogRetargetDiagnosis(const USkeletalMesh& Mesh);
