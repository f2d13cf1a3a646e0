#pragma once

class FDemoRig;
class UPhysicsAsset;

/**
 * Gives the physics asset the demo figure's bodies: boxes for Pelvis, Spine and Chest, a sphere for
 * Head, capsules along the upper and lower arms, thighs and calves (each from its joint to the next
 * one), boxes for the hands and feet; and a constraint from each body to the body of its nearest
 * ancestor bone, anchored at the child's joint.
 */
void BuildDemoPhysics(UPhysicsAsset& PhysicsAsset, const FDemoRig& Rig);
