#include "InteractiveToolsFramework/ToolTargets/SkeletalMeshToolTarget.h"

#include "CoreUObject/Object/Package.h"

USkeletalMeshToolTarget* USkeletalMeshToolTarget::Make(USkeletalMesh* Mesh)
{
    USkeletalMeshToolTarget* Target = NewObject<USkeletalMeshToolTarget>(GetTransientPackage());
    Target->SkeletalMesh = Mesh;
    return Target;
}
