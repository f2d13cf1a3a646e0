#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Matrix.h"
#include "Interchange/Private/AxisConversion.h"

#include <assimp/scene.h>
#include <string>
#include <unordered_map>

/**
 * The node hierarchy of a scene the general importer read, in depth-first order (parents first), with
 * each node's global transform in file space (transforms checked finite), and the conversion from the
 * file's frame to the host's: FBX gives its up axis and units; other formats are taken as Y up, metres.
 */
class FAssimpNodeGraph
{
public:
    explicit FAssimpNodeGraph(const aiScene& Scene);

    int32 Num() const { return Nodes.Num(); }
    const aiNode& GetNode(int32 Node) const { return *Nodes[Node]; }
    /** Every node's parent (INDEX_NONE for the root). */
    const TArray<int32>& GetParents() const { return Parents; }
    const FMatrix& GetGlobal(int32 Node) const { return Globals[Node]; }
    const FAxisConversion& GetConversion() const { return Conversion; }
    /** The node of that name (the first one, when names repeat), or INDEX_NONE. */
    int32 FindNode(const aiString& Name) const;

private:
    void Collect(const aiNode* Node, int32 Parent);

    TArray<const aiNode*> Nodes;
    TArray<int32> Parents;
    TArray<FMatrix> Globals;
    std::unordered_map<std::string, int32> NodeByName;
    FAxisConversion Conversion;
};
