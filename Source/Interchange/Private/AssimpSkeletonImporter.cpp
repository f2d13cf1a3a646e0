#include "Interchange/Private/AssimpSkeletonImporter.h"

#include "Interchange/Private/AssimpValues.h"
#include "Interchange/Private/ImportedSkeletonBuilder.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/NodeAncestry.h"

namespace
{
/** A mesh bone whose name no node has. */
struct FNodelessBone
{
    std::string Name;
    FMatrix Bind;
};

class FSkeletonImporter
{
public:
    FSkeletonImporter(const aiScene& InScene, const FAssimpNodeGraph& InGraph)
        : Scene(InScene), Graph(InGraph)
    {
    }

    FAssimpSkeletonBinding Import(FReferenceSkeleton& OutSkeleton, TArray<FString>& OutWarnings)
    {
        ReadBindPoses();
        FImportedSkeletonBuilder::CheckJointCount(Joints.Num() + Nodeless.Num(), "bones");
        Joints.Sort();
        int32 NumRoots = 0;
        for (const int32 Joint : Joints)
        {
            NumRoots += ParentJoint(Joint) == INDEX_NONE ? 1 : 0;
        }
        FAssimpSkeletonBinding Binding;
        Binding.BoneOfNode.Init(INDEX_NONE, Graph.Num());
        FImportedSkeletonBuilder Builder(OutSkeleton, NumRoots);
        // Nodes are in depth-first order, so parents come first.
        for (const int32 Joint : Joints)
        {
            const int32 Parent = ParentJoint(Joint);
            const FMatrix ParentBind = Parent == INDEX_NONE ? FMatrix::Identity : BindOfNode[Parent];
            const FMatrix Local = BindOfNode[Joint] * ParentBind.Inverse();
            Binding.BoneOfNode[Joint] =
                Builder.AddJoint(Joint, FString(Graph.GetNode(Joint).mName.C_Str()),
                                 Parent == INDEX_NONE ? INDEX_NONE : Binding.BoneOfNode[Parent],
                                 FTransform(Graph.GetConversion().Matrix(Local)));
            Binding.BoneOfMeshBone.emplace(Graph.GetNode(Joint).mName.C_Str(), Binding.BoneOfNode[Joint]);
        }
        AddNodelessBones(Builder, NumRoots, Binding, OutWarnings);
        return Binding;
    }

private:
    /** The file-space bind pose of every mesh bone: the inverse of the first offset given for its name. */
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
                CheckFinite(Data.mOffsetMatrix, "the offset matrix of a bone");
                const int32 Node = Graph.FindNode(Data.mName);
                if (Node == INDEX_NONE)
                {
                    AddNodeless(Data);
                }
                else if (!IsJoint[Node])
                {
                    IsJoint[Node] = 1;
                    BindOfNode[Node] = ToHostMatrix(Data.mOffsetMatrix).Inverse();
                    Joints.Add(Node);
                }
            }
        }
    }

    void AddNodeless(const aiBone& Data)
    {
        for (const FNodelessBone& Known : Nodeless)
        {
            if (Known.Name == Data.mName.C_Str())
            {
                return;
            }
        }
        Nodeless.Add(FNodelessBone{Data.mName.C_Str(), ToHostMatrix(Data.mOffsetMatrix).Inverse()});
    }

    /** Bones without a node hang from the skeleton's root (bone 0), placed by their bind poses. */
    void AddNodelessBones(FImportedSkeletonBuilder& Builder, int32 NumRoots, FAssimpSkeletonBinding& Binding,
                          TArray<FString>& OutWarnings) const
    {
        int32 RootJoint = INDEX_NONE;
        for (int32 Index = 0; Index < Joints.Num() && NumRoots == 1 && RootJoint == INDEX_NONE; ++Index)
        {
            RootJoint = ParentJoint(Joints[Index]) == INDEX_NONE ? Joints[Index] : INDEX_NONE;
        }
        const FMatrix RootBind = RootJoint == INDEX_NONE ? FMatrix::Identity : BindOfNode[RootJoint];
        for (int32 Index = 0; Index < Nodeless.Num(); ++Index)
        {
            const FNodelessBone& Bone = Nodeless[Index];
            const FMatrix Local = Bone.Bind * RootBind.Inverse();
            const int32 Added = Builder.AddJoint(Graph.Num() + Index, FString(Bone.Name), 0,
                                                 FTransform(Graph.GetConversion().Matrix(Local)));
            Binding.BoneOfMeshBone.emplace(Bone.Name, Added);
            OutWarnings.Add(
                FString::Printf("the bone '%s' has no node; it was placed under the skeleton's root "
                                "from its bind pose",
                                *ImportedText::ForMessage(Bone.Name)));
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
    TArray<FNodelessBone> Nodeless;
};
} // namespace

FAssimpSkeletonBinding ImportAssimpSkeleton(const aiScene& Scene, const FAssimpNodeGraph& Graph,
                                            FReferenceSkeleton& OutSkeleton, TArray<FString>& OutWarnings)
{
    return FSkeletonImporter(Scene, Graph).Import(OutSkeleton, OutWarnings);
}
