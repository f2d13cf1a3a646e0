#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Rotator.h"
#include "Core/Math/Transform.h"
#include "Core/Math/Vector.h"
#include "Core/Name/Name.h"

/** What a bone controller does with one part (translation, rotation or scale) of its bone. */
enum class EBoneEditMode : uint8
{
    /** Leaves the part as the pose has it. */
    Ignore = 0,
    /** Sets the part to the controller's value. */
    Replace = 1,
    /** Adds the value: translations add, rotations turn on top, scales multiply. */
    Additive = 2,
};

/** The frame in which a controller's part is read and written. */
enum class EBoneEditSpace : uint8
{
    World = 0,
    /** The skeletal mesh component's own frame. */
    Component = 1,
    /** The frame of the bone's parent (the bone's local transform). */
    ParentBone = 2,
    /** The bone's own frame as the pose places it before the edit. */
    Bone = 3,
};

/**
 * An edit of one bone of a preview pose: a translation, a rotation and a scale, each with a mode and a
 * space. The bone's children follow it.
 */
struct FAnimNode_ModifyBone
{
    FName BoneToModify;

    FVector Translation = FVector::ZeroVector;
    FRotator Rotation = FRotator::ZeroRotator;
    FVector Scale = FVector::OneVector;

    EBoneEditMode TranslationMode = EBoneEditMode::Ignore;
    EBoneEditMode RotationMode = EBoneEditMode::Ignore;
    EBoneEditMode ScaleMode = EBoneEditMode::Ignore;

    EBoneEditSpace TranslationSpace = EBoneEditSpace::Component;
    EBoneEditSpace RotationSpace = EBoneEditSpace::Component;
    EBoneEditSpace ScaleSpace = EBoneEditSpace::Component;

    /**
     * The bone's component-space transform after the edit, given its transform before it, its parent's
     * component-space transform (identity for a root) and the component's place in the world.
     */
    FTransform Apply(const FTransform& ComponentSpace, const FTransform& ParentComponentSpace,
                     const FTransform& ComponentToWorld) const;

    bool operator==(const FAnimNode_ModifyBone& Other) const = default;
};
