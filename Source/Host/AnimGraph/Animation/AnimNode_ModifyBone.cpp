#include "AnimGraph/Animation/AnimNode_ModifyBone.h"

namespace
{
/** A frame to read and write a bone's transform in: Local = ComponentSpace * Inverse(Frame). */
FTransform FrameOf(EBoneEditSpace Space, const FTransform& ComponentSpace, const FTransform& ParentComponentSpace,
                   const FTransform& ComponentToWorld)
{
    switch (Space)
    {
        case EBoneEditSpace::World:
            return ComponentToWorld.Inverse();
        case EBoneEditSpace::ParentBone:
            return ParentComponentSpace;
        case EBoneEditSpace::Bone:
            return ComponentSpace;
        case EBoneEditSpace::Component:
            break;
    }
    return FTransform::Identity;
}

/** Runs Edit on the bone's transform as seen in Space and brings the result back to component space. */
template <typename EditType>
FTransform EditInSpace(EBoneEditSpace Space, const FTransform& ComponentSpace,
                       const FTransform& ParentComponentSpace, const FTransform& ComponentToWorld, EditType Edit)
{
    const FTransform Frame = FrameOf(Space, ComponentSpace, ParentComponentSpace, ComponentToWorld);
    FTransform InSpace = ComponentSpace * Frame.Inverse();
    Edit(InSpace);
    return InSpace * Frame;
}
} // namespace

FTransform FAnimNode_ModifyBone::Apply(const FTransform& ComponentSpace, const FTransform& ParentComponentSpace,
                                       const FTransform& ComponentToWorld) const
{
    FTransform Result = ComponentSpace;
    if (ScaleMode != EBoneEditMode::Ignore)
    {
        Result = EditInSpace(ScaleSpace, Result, ParentComponentSpace, ComponentToWorld,
                             [this](FTransform& T)
                             {
                                 T.SetScale3D(ScaleMode == EBoneEditMode::Replace ? Scale
                                                                                  : T.GetScale3D() * Scale);
                             });
    }
    if (RotationMode != EBoneEditMode::Ignore)
    {
        Result = EditInSpace(RotationSpace, Result, ParentComponentSpace, ComponentToWorld,
                             [this](FTransform& T)
                             {
                                 const FQuat Turn = Rotation.Quaternion();
                                 T.SetRotation(RotationMode == EBoneEditMode::Replace
                                                   ? Turn
                                                   : (Turn * T.GetRotation()).GetNormalized());
                             });
    }
    if (TranslationMode != EBoneEditMode::Ignore)
    {
        Result = EditInSpace(TranslationSpace, Result, ParentComponentSpace, ComponentToWorld,
                             [this](FTransform& T)
                             {
                                 T.SetTranslation(TranslationMode == EBoneEditMode::Replace
                                                      ? Translation
                                                      : T.GetTranslation() + Translation);
                             });
    }
    return Result;
}
