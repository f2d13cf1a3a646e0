#include "Interchange/Private/ImportedSceneRules.h"

#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/InterchangeFailure.h"

namespace
{
void CheckBone(const FImportedScene& Scene, FName Bone, const char* What)
{
    if (!Bone.IsNone() && Scene.Skeleton.FindRawBoneIndex(Bone) == INDEX_NONE)
    {
        FailImport("%s is on the bone '%s', which the skeleton does not have", What, *Bone.ToString());
    }
}
} // namespace

void CheckImportedScene(const FImportedScene& Scene)
{
    if (Scene.LODs.Num() > ImportLimits::MaxLODs)
    {
        FailImport("the mesh has %d LODs, more than the %d that are read", Scene.LODs.Num(),
                   ImportLimits::MaxLODs);
    }
    for (int32 LOD = 0; LOD < Scene.LODs.Num(); ++LOD)
    {
        for (const int32 Slot : Scene.LODs[LOD].Info.LODMaterialMap)
        {
            if (Slot != INDEX_NONE && (Slot < 0 || Slot >= Scene.Slots.Num()))
            {
                FailImport("the material map of LOD %d names slot %d, but the mesh has %d slots", LOD, Slot,
                           Scene.Slots.Num());
            }
        }
    }
    for (const FImportedBody& Body : Scene.Physics.Bodies)
    {
        CheckBone(Scene, Body.BoneName, "a physics body");
    }
    for (const FPhysicsConstraintSetup& Constraint : Scene.Physics.Constraints)
    {
        CheckBone(Scene, Constraint.ConstraintBone1, "a physics constraint");
        CheckBone(Scene, Constraint.ConstraintBone2, "a physics constraint");
    }
}
