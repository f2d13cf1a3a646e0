#include "RivetCli/Demo/DemoMorphs.h"

#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

namespace
{
/** Registers the morph again without normals, keeping its position deltas. */
void DropNormals(FMeshDescription& Description, FName Morph)
{
    FSkeletalMeshAttributes Attributes(Description);
    TArray<FVector3f> Deltas;
    Deltas.SetNum(Description.Vertices().GetArraySize());
    const auto OldDeltas = Attributes.GetVertexMorphPositionDelta(Morph);
    for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
    {
        Deltas[Vertex.GetValue()] = OldDeltas[Vertex];
    }
    Attributes.UnregisterMorphTargetAttribute(Morph);
    Attributes.RegisterMorphTargetAttribute(Morph, /*bIncludeNormals=*/false);
    const auto NewDeltas = Attributes.GetVertexMorphPositionDelta(Morph);
    for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
    {
        NewDeltas[Vertex] = Deltas[Vertex.GetValue()];
    }
}
} // namespace

void DropMorphNormalDeltas(USkeletalMesh& Mesh)
{
    for (int32 LOD = 0; LOD < Mesh.GetLODNum(); ++LOD)
    {
        FMeshDescription* Description = Mesh.GetMeshDescription(LOD);
        if (!Description)
        {
            continue;
        }
        const FSkeletalMeshAttributesShared Attributes(*Description);
        for (const FName Morph : Attributes.GetMorphTargetNames())
        {
            if (Attributes.HasMorphTargetNormalsAttribute(Morph))
            {
                DropNormals(*Description, Morph);
            }
        }
        Mesh.CommitMeshDescription(LOD, FCommitMeshDescriptionParams());
    }
    Mesh.PostEditChange();
    Mesh.GetPackage()->SetDirtyFlag(false);
}
