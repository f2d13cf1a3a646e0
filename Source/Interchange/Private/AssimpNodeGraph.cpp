#include "Interchange/Private/AssimpNodeGraph.h"

#include "Interchange/Private/AssimpValues.h"

#include <algorithm>
#include <cmath>

namespace
{
/** A number of the scene's metadata, whichever numeric type the reader stored it as; Fallback if absent. */
double ReadMetadataNumber(const aiMetadata* Metadata, const char* Key, double Fallback)
{
    const aiMetadataEntry* Entry = nullptr;
    for (unsigned Index = 0; Metadata && Index < Metadata->mNumProperties; ++Index)
    {
        Entry = Metadata->mKeys[Index] == aiString(Key) ? &Metadata->mValues[Index] : Entry;
    }
    if (!Entry || !Entry->mData)
    {
        return Fallback;
    }
    switch (Entry->mType)
    {
        case AI_INT32:
            return *static_cast<const int32_t*>(Entry->mData);
        case AI_UINT64:
            return static_cast<double>(*static_cast<const uint64_t*>(Entry->mData));
        case AI_FLOAT:
            return *static_cast<const float*>(Entry->mData);
        case AI_DOUBLE:
            return *static_cast<const double*>(Entry->mData);
        default:
            return Fallback;
    }
}

FAxisConversion ReadConversion(const aiScene& Scene)
{
    const int32 UpAxis = static_cast<int32>(ReadMetadataNumber(Scene.mMetaData, "UpAxis", 1.0));
    const int32 UpSign = ReadMetadataNumber(Scene.mMetaData, "UpAxisSign", 1.0) < 0.0 ? -1 : 1;
    const double UnitScale = ReadMetadataNumber(Scene.mMetaData, "UnitScaleFactor", 0.0);
    const double CentimetresPerUnit = UnitScale > 0.0 && std::isfinite(UnitScale) ? UnitScale : 100.0;
    return FAxisConversion::FromUpAxis(std::clamp(UpAxis, 0, 2), UpSign, CentimetresPerUnit);
}
} // namespace

FAssimpNodeGraph::FAssimpNodeGraph(const aiScene& Scene) : Conversion(ReadConversion(Scene))
{
    Collect(Scene.mRootNode, INDEX_NONE);
}

int32 FAssimpNodeGraph::FindNode(const aiString& Name) const
{
    const auto Found = NodeByName.find(Name.C_Str());
    return Found == NodeByName.end() ? INDEX_NONE : Found->second;
}

void FAssimpNodeGraph::Collect(const aiNode* Node, int32 Parent)
{
    CheckFinite(Node->mTransformation, "a node transform");
    const int32 Index = Nodes.Add(Node);
    Parents.Add(Parent);
    const FMatrix Local = ToHostMatrix(Node->mTransformation);
    Globals.Add(Parent == INDEX_NONE ? Local : Local * Globals[Parent]);
    NodeByName.emplace(Node->mName.C_Str(), Index);
    for (unsigned Child = 0; Child < Node->mNumChildren; ++Child)
    {
        Collect(Node->mChildren[Child], Index);
    }
}
