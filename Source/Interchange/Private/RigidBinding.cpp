#include "Interchange/Private/RigidBinding.h"

#include "Interchange/Private/NodeAncestry.h"

int32 FindRigidBone(const TArray<int32>& Parents, const TArray<int32>& BoneOfNode, int32 Node)
{
    const int32 BoneNode = FindSelfOrAncestor(
        Parents, Node, [&](int32 Candidate) { return BoneOfNode[Candidate] != INDEX_NONE; });
    return BoneNode == INDEX_NONE ? 0 : BoneOfNode[BoneNode];
}

void AddRigidInfluences(FSourceMesh& Mesh, int32 Start, int32 Count, int32 Bone)
{
    for (int32 V = 0; V < Count; ++V)
    {
        Mesh.InfluenceStarts[Start + V] = Mesh.Influences.Num();
        Mesh.Influences.Add(FSourceInfluence{Bone, 1.0f});
    }
    Mesh.InfluenceStarts[Start + Count] = Mesh.Influences.Num();
}
