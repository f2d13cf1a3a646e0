#include "Interchange/Private/GltfMeshImporter.h"

#include "Interchange/Private/GltfAccessorReader.h"
#include "Interchange/Private/GltfMorphReader.h"
#include "Interchange/Private/GltfPrimitiveGroups.h"
#include "Interchange/Private/GltfSkinReader.h"
#include "Interchange/Private/GltfTriangleReader.h"
#include "Interchange/Private/GltfVertexReader.h"
#include "Interchange/Private/RigidBinding.h"

namespace
{
FVertexPlacement PlacementOf(const FGltfMeshInput& Input, const FGltfMeshInstance& Instance)
{
    const bool bPlaced = Instance.Skin == INDEX_NONE && Instance.Node != INDEX_NONE;
    return FVertexPlacement(bPlaced ? Input.Graph.GetGlobal(Instance.Node) : FMatrix::Identity,
                            Input.Graph.GetConversion());
}

void ReadBlock(const FGltfMeshInput& Input, const FGltfAccessorReader& Reader, const FGltfVertexBlock& Block,
               FSourceMesh& Mesh)
{
    const FGltfMeshInstance& Instance = Input.Instances[Block.Instance];
    const FVertexPlacement Placement = PlacementOf(Input, Instance);
    ReadGltfVertices(Reader, Block, Placement, Mesh);
    const bool bSkinned =
        Instance.Skin != INDEX_NONE &&
        ReadGltfSkinInfluences(Reader, Block, Input.Binding.SkinJointBones[Instance.Skin], Mesh);
    if (!bSkinned)
    {
        AddRigidInfluences(Mesh, Block.Start, Block.Count,
                           FindRigidBone(Input.Graph.GetParents(), Input.Binding.BoneOfNode, Instance.Node));
    }
    ReadGltfMorphDeltas(Reader, Block, Placement, Mesh);
}
} // namespace

void ReadGltfMeshes(const FGltfMeshInput& Input, FGltfMeshOutput& Output)
{
    FSourceMesh& Mesh = Output.Mesh;
    const FGltfVertexBlocks Blocks = CollectGltfVertexBlocks(Input.Model, Input.Instances, Mesh);
    Mesh.AllocateVertexArrays(MakeGltfLayout(Blocks.Blocks));
    const FGltfAccessorReader Reader(Input.Model);
    for (const FGltfVertexBlock& Block : Blocks.Blocks)
    {
        ReadBlock(Input, Reader, Block, Mesh);
    }
    FGltfPrimitiveGroups Groups(Input.Model, Input.bOwnExtras, Mesh.Groups, Output.Slots, Output.SlotOfGroup);
    TArray<uint32> Corners;
    for (const FGltfTrianglePrimitive& Primitive : Blocks.Primitives)
    {
        const FGltfVertexBlock& Block = Blocks.Blocks[Primitive.Block];
        ReadGltfCorners(Reader, *Primitive.Primitive, Block.Count, Corners);
        const bool bMirrored = PlacementOf(Input, Input.Instances[Block.Instance]).IsMirrored();
        AddGltfTriangles(Primitive.Primitive->mode, Corners, Block.Start, bMirrored,
                         Groups.GroupOf(*Primitive.Primitive).Corners);
    }
    if (!Input.Instances.IsEmpty())
    {
        Groups.AddEmptyGroups(Input.Model.meshes[Input.Instances[0].Mesh]);
    }
    if (Blocks.NumSkippedPrimitives > 0)
    {
        Output.Warnings.Add(
            FString::Printf("skipped %d primitive(s) of points or lines", Blocks.NumSkippedPrimitives));
    }
}
