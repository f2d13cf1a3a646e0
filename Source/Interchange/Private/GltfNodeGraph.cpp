#include "Interchange/Private/GltfNodeGraph.h"

#include "Interchange/Private/InterchangeExtras.h"
#include "Interchange/Private/InterchangeFailure.h"

#include <cmath>

namespace
{
void CheckFinite(const std::vector<double>& Values, size_t ExpectedSize, int32 Node, const char* What)
{
    if (Values.empty())
    {
        return;
    }
    if (Values.size() != ExpectedSize)
    {
        FailImport("node %d has a %s of %zu numbers (%zu expected)", Node, What, Values.size(), ExpectedSize);
    }
    for (const double Value : Values)
    {
        if (!std::isfinite(Value))
        {
            FailImport("node %d has a %s that is not finite", Node, What);
        }
    }
}

FMatrix MatrixFromGltf(const std::vector<double>& Values)
{
    // A glTF matrix is column-major for column vectors: read in order, it is the host's row-vector matrix.
    FMatrix Result;
    for (int32 Index = 0; Index < 16; ++Index)
    {
        Result.M[Index / 4][Index % 4] = Values[Index];
    }
    return Result;
}
} // namespace

FGltfNodeGraph::FGltfNodeGraph(const tinygltf::Model& Model)
{
    ReadParents(Model);
    ReadLocals(Model);
    FindConversionNode(Model);
    ComputeGlobals();
}

void FGltfNodeGraph::ReadParents(const tinygltf::Model& Model)
{
    const int32 NumNodes = static_cast<int32>(Model.nodes.size());
    Parents.Init(INDEX_NONE, NumNodes);
    for (int32 Node = 0; Node < NumNodes; ++Node)
    {
        for (const int Child : Model.nodes[Node].children)
        {
            if (Child < 0 || Child >= NumNodes)
            {
                FailImport("node %d has the child %d, which does not exist", Node, Child);
            }
            if (Parents[Child] != INDEX_NONE || Child == Node)
            {
                FailImport("node %d has more than one parent", Child);
            }
            Parents[Child] = Node;
        }
    }
}

void FGltfNodeGraph::ReadLocals(const tinygltf::Model& Model)
{
    const int32 NumNodes = Num();
    Locals.SetNum(NumNodes);
    LocalMatrices.SetNum(NumNodes);
    for (int32 Node = 0; Node < NumNodes; ++Node)
    {
        const tinygltf::Node& Data = Model.nodes[Node];
        CheckFinite(Data.matrix, 16, Node, "matrix");
        CheckFinite(Data.translation, 3, Node, "translation");
        CheckFinite(Data.rotation, 4, Node, "rotation");
        CheckFinite(Data.scale, 3, Node, "scale");
        if (!Data.matrix.empty())
        {
            LocalMatrices[Node] = MatrixFromGltf(Data.matrix);
            Locals[Node] = FTransform(LocalMatrices[Node]);
            continue;
        }
        FTransform Local;
        if (!Data.translation.empty())
        {
            Local.SetTranslation(FVector(Data.translation[0], Data.translation[1], Data.translation[2]));
        }
        if (!Data.rotation.empty())
        {
            const FQuat Rotation(Data.rotation[0], Data.rotation[1], Data.rotation[2], Data.rotation[3]);
            if (Rotation.SizeSquared() < 1e-12)
            {
                FailImport("node %d has a zero rotation quaternion", Node);
            }
            Local.SetRotation(Rotation.IsNormalized() ? Rotation : Rotation.GetNormalized());
        }
        if (!Data.scale.empty())
        {
            Local.SetScale3D(FVector(Data.scale[0], Data.scale[1], Data.scale[2]));
        }
        Locals[Node] = Local;
        LocalMatrices[Node] = Local.ToMatrixWithScale();
    }
}

void FGltfNodeGraph::FindConversionNode(const tinygltf::Model& Model)
{
    for (int32 Node = 0; Node < Num(); ++Node)
    {
        const nlohmann::json Extras = InterchangeExtras::Find(Model.nodes[Node].extras);
        if (Parents[Node] == INDEX_NONE && Extras.is_object() &&
            Extras.value("conversion", std::string()) == InterchangeExtras::ConversionMarker)
        {
            ConversionNode = Node;
            for (const int Child : Model.nodes[Node].children)
            {
                Parents[Child] = INDEX_NONE;
            }
            Conversion = FAxisConversion::Identity();
            return;
        }
    }
    Conversion = FAxisConversion::FromYUpMetres();
}

void FGltfNodeGraph::ComputeGlobals()
{
    const int32 NumNodes = Num();
    Globals.SetNum(NumNodes);
    TArray<TArray<int32>> Children;
    Children.SetNum(NumNodes);
    TArray<int32> Pending;
    for (int32 Node = 0; Node < NumNodes; ++Node)
    {
        if (Node == ConversionNode)
        {
            continue;
        }
        if (Parents[Node] == INDEX_NONE)
        {
            Pending.Add(Node);
        }
        else
        {
            Children[Parents[Node]].Add(Node);
        }
    }
    while (!Pending.IsEmpty())
    {
        const int32 Node = Pending.Pop();
        TopDown.Add(Node);
        Globals[Node] =
            Parents[Node] == INDEX_NONE ? LocalMatrices[Node] : LocalMatrices[Node] * Globals[Parents[Node]];
        Pending.Append(Children[Node]);
    }
    if (TopDown.Num() + (ConversionNode != INDEX_NONE ? 1 : 0) != NumNodes)
    {
        FailImport("the node hierarchy has a cycle");
    }
}

FMatrix FGltfNodeGraph::GetRelative(int32 Node, int32 Ancestor) const
{
    return Ancestor == INDEX_NONE ? Globals[Node] : Globals[Node] * Globals[Ancestor].Inverse();
}
