#include "Interchange/Private/AssimpSkeletonImporter.h"

#include "Interchange/Private/AssimpValues.h"
#include "Interchange/Private/ImportedSkeletonBuilder.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/NodeAncestry.h"

namespace
{
class FSkeletonImporter
{
public:
    FSkeletonImporter(const aiScene& InScene, const FAssimpNodeGraph& InGraph)
        : Scene(InScene), Graph(InGraph)
    {
    }

    TArray<int32> Import(FReferenceSkeleton& OutSkeleton)
    {
        ReadBindPoses();
        FImportedSkeletonBuilder::CheckJointCount(Joints.Num(), "bones");
        Joints.Sort();
        int32 NumRoots = 0;
        for (const int32 Joint : Joints)
        {
            NumRoots += ParentJoint(Joint) == INDEX_NONE ? 1 : 0;
        }
        TArray<int32> BoneOfNode;
        BoneOfNode.Init(INDEX_NONE, Graph.Num());
        FImportedSkeletonBuilder Builder(OutSkeleton, NumRoots);
        // Nodes are in depth-first order, so parents come first.
        for (const int32 Joint : Joints)
        {
            const int32 Parent = ParentJoint(Joint);
            const FMatrix ParentBind = Parent == INDEX_NONE ? FMatrix::Identity : BindOfNode[Parent];
            const FMatrix Local = BindOfNode[Joint] * ParentBind.Inverse();
            BoneOfNode[Joint] = Builder.AddJoint(Joint, FString(Graph.GetNode(Joint).mName.C_Str()),
                                                 Parent == INDEX_NONE ? INDEX_NONE : BoneOfNode[Parent],
                                                 FTransform(Graph.GetConversion().Matrix(Local)));
        }
        return BoneOfNode;
    }

private:
    /** The file-space bind pose of every node a mesh bone names: the inverse of the first bone's offset. */
    void ReadBindPoses()
    {
        BindOfNode.SetNum(Graph.Num());
        IsJoint.Init(0, Graph.Num());
        for (unsigned MeshIndex = 0; MeshIndex < Scene.mNumMeshes; ++MeshIndex)
        {
            const aiMesh& Mesh = *Scene.mMeshes[MeshIndex];
            for (unsigned Bone = 0; Bone < Mesh.mNumBones; ++Bone)
            {
                const aiBone& Data = *Mesh.mBones[Bone];
                const int32 Node = Graph.FindNode(Data.mName);
                if (Node == INDEX_NONE)
                {
                    FailImport("the bone '%s' has no node", Data.mName.C_Str());
                }
                CheckFinite(Data.mOffsetMatrix, "the offset matrix of a bone");
                if (!IsJoint[Node])
                {
                    IsJoint[Node] = 1;
                    BindOfNode[Node] = ToHostMatrix(Data.mOffsetMatrix).Inverse();
                    Joints.Add(Node);
                }
            }
        }
    }

    int32 ParentJoint(int32 Node) const
    {
        return FindAncestor(Graph.GetParents(), Node,
                            [this](int32 Ancestor) { return IsJoint[Ancestor] != 0; });
    }

    const aiScene& Scene;
    const FAssimpNodeGraph& Graph;
    TArray<int32> Joints;
    TArray<uint8> IsJoint;
    TArray<FMatrix> BindOfNode;
};
} // namespace

TArray<int32> ImportAssimpSkeleton(const aiScene& Scene, const FAssimpNodeGraph& Graph,
                                   FReferenceSkeleton& OutSkeleton)
{
    return FSkeletonImporter(Scene, Graph).Import(OutSkeleton);
}
