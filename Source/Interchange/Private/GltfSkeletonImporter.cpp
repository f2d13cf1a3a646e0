#include "Interchange/Private/GltfSkeletonImporter.h"

#include "Interchange/Private/GltfAccessorReader.h"
#include "Interchange/Private/ImportedSkeletonBuilder.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/NodeAncestry.h"

namespace
{
class FSkeletonImporter
{
public:
    FSkeletonImporter(const tinygltf::Model& InModel, const FGltfNodeGraph& InGraph,
                      FGltfSkeletonBinding& InBinding)
        : Model(InModel), Graph(InGraph), Binding(InBinding)
    {
    }

    void Import(const TArray<int32>& Skins, FReferenceSkeleton& OutSkeleton)
    {
        Binding.BoneOfNode.Init(INDEX_NONE, Graph.Num());
        IsJoint.Init(0, Graph.Num());
        TArray<int32> JointOrder;
        for (const int32 Skin : Skins)
        {
            for (const int Joint : Model.skins[Skin].joints)
            {
                if (Joint < 0 || Joint >= Graph.Num() || Graph.IsConversionNode(Joint))
                {
                    FailImport("skin %d names the joint node %d, which does not exist", Skin, Joint);
                }
                if (!IsJoint[Joint])
                {
                    IsJoint[Joint] = 1;
                    JointOrder.Add(Joint);
                }
            }
        }
        FImportedSkeletonBuilder::CheckJointCount(JointOrder.Num(), "joints");
        ReadBindPoses(Skins);
        OrderBones(JointOrder);
        Emit(OutSkeleton);
        BindSkins(Skins);
    }

private:
    int32 ParentJoint(int32 Node) const
    {
        return FindAncestor(Graph.GetParents(), Node,
                            [this](int32 Ancestor) { return IsJoint[Ancestor] != 0; });
    }

    /** The joints' file-space bind poses: the nodes' globals, or the inverse bind matrices where they differ.
     */
    void ReadBindPoses(const TArray<int32>& Skins)
    {
        BindGlobals.SetNum(Graph.Num());
        HasBind.Init(0, Graph.Num());
        bUseBindMatrices = false;
        FGltfAccessorReader Reader(Model);
        TArray<float> Values;
        for (const int32 Skin : Skins)
        {
            const tinygltf::Skin& Data = Model.skins[Skin];
            if (Data.inverseBindMatrices < 0)
            {
                continue;
            }
            Reader.ReadFloats(Data.inverseBindMatrices, 16, "the inverse bind matrices", Values);
            if (Values.Num() != static_cast<int32>(Data.joints.size()) * 16)
            {
                FailImport("skin %d has %d inverse bind matrices for %zu joints", Skin, Values.Num() / 16,
                           Data.joints.size());
            }
            for (size_t Joint = 0; Joint < Data.joints.size(); ++Joint)
            {
                FMatrix Inverse;
                for (int32 Index = 0; Index < 16; ++Index)
                {
                    Inverse.M[Index / 4][Index % 4] = Values[static_cast<int32>(Joint) * 16 + Index];
                }
                const int32 Node = Data.joints[Joint];
                BindGlobals[Node] = Inverse.Inverse();
                const FMatrix Check = Graph.GetGlobal(Node) * Inverse;
                bUseBindMatrices = bUseBindMatrices || !Check.Equals(FMatrix::Identity, 1e-3);
                HasBind[Node] = 1;
            }
        }
    }

    /** Parents first; otherwise the joints keep the skins' order. */
    void OrderBones(const TArray<int32>& JointOrder)
    {
        TArray<int32> Roots;
        for (const int32 Joint : JointOrder)
        {
            if (ParentJoint(Joint) == INDEX_NONE)
            {
                Roots.Add(Joint);
            }
        }
        NumRootJoints = Roots.Num();
        if (NumRootJoints != 1)
        {
            Binding.NodeOfBone.Add(INDEX_NONE);
        }
        for (const int32 Joint : JointOrder)
        {
            Place(Joint);
        }
    }

    void Place(int32 Joint)
    {
        if (Binding.BoneOfNode[Joint] != INDEX_NONE)
        {
            return;
        }
        // Walk up to the first placed ancestor joint iteratively, then place downwards.
        TArray<int32> Chain;
        for (int32 Node = Joint; Node != INDEX_NONE && Binding.BoneOfNode[Node] == INDEX_NONE;
             Node = ParentJoint(Node))
        {
            Chain.Add(Node);
        }
        for (int32 Index = Chain.Num() - 1; Index >= 0; --Index)
        {
            Binding.BoneOfNode[Chain[Index]] = Binding.NodeOfBone.Num();
            Binding.NodeOfBone.Add(Chain[Index]);
        }
    }

    /** The joint's pose relative to its parent bone, in file space. */
    FTransform FilePose(int32 Node) const
    {
        const int32 Parent = ParentJoint(Node);
        if (bUseBindMatrices && HasBind[Node])
        {
            const FMatrix ParentBind =
                Parent != INDEX_NONE && HasBind[Parent] ? BindGlobals[Parent] : FMatrix::Identity;
            return FTransform(BindGlobals[Node] * ParentBind.Inverse());
        }
        if (Graph.GetParent(Node) == Parent)
        {
            return Graph.GetLocal(Node);
        }
        return FTransform(Graph.GetRelative(Node, Parent));
    }

    /** The bones in the order OrderBones gave them; the added root, if any, is already bone 0. */
    void Emit(FReferenceSkeleton& OutSkeleton)
    {
        FImportedSkeletonBuilder Builder(OutSkeleton, NumRootJoints);
        for (const int32 Node : Binding.NodeOfBone)
        {
            if (Node != INDEX_NONE)
            {
                const int32 ParentNode = ParentJoint(Node);
                const int32 Bone =
                    Builder.AddJoint(Node, FString(Model.nodes[Node].name),
                                     ParentNode != INDEX_NONE ? Binding.BoneOfNode[ParentNode] : INDEX_NONE,
                                     Graph.GetConversion().Transform(FilePose(Node)));
                VT_CHECK(Bone == Binding.BoneOfNode[Node]);
            }
        }
    }

    void BindSkins(const TArray<int32>& Skins)
    {
        Binding.SkinJointBones.SetNum(static_cast<int32>(Model.skins.size()));
        for (const int32 Skin : Skins)
        {
            TArray<int32>& Bones = Binding.SkinJointBones[Skin];
            for (const int Joint : Model.skins[Skin].joints)
            {
                Bones.Add(Binding.BoneOfNode[Joint]);
            }
        }
    }

    const tinygltf::Model& Model;
    const FGltfNodeGraph& Graph;
    FGltfSkeletonBinding& Binding;
    TArray<uint8> IsJoint;
    TArray<FMatrix> BindGlobals;
    TArray<uint8> HasBind;
    bool bUseBindMatrices = false;
    int32 NumRootJoints = 0;
};
} // namespace

void ImportGltfSkeleton(const tinygltf::Model& Model, const FGltfNodeGraph& Graph, const TArray<int32>& Skins,
                        FReferenceSkeleton& OutSkeleton, FGltfSkeletonBinding& OutBinding)
{
    FSkeletonImporter(Model, Graph, OutBinding).Import(Skins, OutSkeleton);
}
