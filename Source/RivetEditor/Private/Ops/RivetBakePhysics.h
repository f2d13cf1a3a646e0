#pragma once

struct FRivetBakeBoneResult;
struct FRivetBakePoses;
class UPhysicsAsset;

/**
 * Carries a bake to a physics asset: every body whose bone the pose scaled (by more than 0.0001 either
 * way) has its shapes' centres and sizes scaled by that ratio (rotations kept; level sets cannot be and
 * are counted as skipped), and every constraint with a scaled bone has that bone's frame position (and,
 * for its first bone, its linear limit) scaled. Cooked collision data is dropped when anything changed.
 * Writes PhysicsAssetName, PhysicsBodiesResized, PhysicsShapesSkipped and ConstraintsUpdated.
 */
void BakePhysicsAsset(UPhysicsAsset& PhysicsAsset, const FRivetBakePoses& Poses,
                      FRivetBakeBoneResult& Result);
