#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Matrix.h"
#include "Core/Math/Transform.h"
#include "Interchange/Private/AxisConversion.h"

#include <tiny_gltf.h>

/**
 * The node hierarchy of a glTF document, checked (every child exists, has one parent, no cycles,
 * finite transforms) with each node's local and global transform in file space. A root node marked
 * as this exporter's conversion node is left out: its children count as roots and the conversion
 * to host space is then the identity; otherwise the glTF frame (Y up, metres) is converted.
 */
class FGltfNodeGraph
{
public:
    explicit FGltfNodeGraph(const tinygltf::Model& InModel);

    int32 Num() const { return Parents.Num(); }
    /** The parent node; INDEX_NONE for roots (and for the conversion node's children). */
    int32 GetParent(int32 Node) const { return Parents[Node]; }
    /** Every node's parent, as GetParent gives it. */
    const TArray<int32>& GetParents() const { return Parents; }
    const FTransform& GetLocal(int32 Node) const { return Locals[Node]; }
    const FMatrix& GetGlobal(int32 Node) const { return Globals[Node]; }
    bool IsConversionNode(int32 Node) const { return Node == ConversionNode; }
    bool HasConversionNode() const { return ConversionNode != INDEX_NONE; }
    int32 GetConversionNode() const { return ConversionNode; }
    const FAxisConversion& GetConversion() const { return Conversion; }
    /** Nodes in an order where parents come before children. */
    const TArray<int32>& GetTopDownOrder() const { return TopDown; }
    /** Node's global transform relative to the global transform of Ancestor (or to the world for none). */
    FMatrix GetRelative(int32 Node, int32 Ancestor) const;

private:
    void ReadParents(const tinygltf::Model& Model);
    void ReadLocals(const tinygltf::Model& Model);
    void FindConversionNode(const tinygltf::Model& Model);
    void ComputeGlobals();

    TArray<int32> Parents;
    TArray<FTransform> Locals;
    TArray<FMatrix> LocalMatrices;
    TArray<FMatrix> Globals;
    TArray<int32> TopDown;
    int32 ConversionNode = INDEX_NONE;
    FAxisConversion Conversion;
};
