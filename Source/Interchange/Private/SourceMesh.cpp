#include "Interchange/Private/SourceMesh.h"

#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/UniqueNameSet.h"

int32 SizePerVertexArray(int32 NumVertices, int32 PerVertex, const char* What)
{
    const int64 Entries = static_cast<int64>(NumVertices) * static_cast<int64>(PerVertex);
    if (Entries > ImportLimits::MaxPerVertexEntries)
    {
        FailImport("the %s of %d vertices need %lld entries, more than the %lld a mesh may have", What,
                   NumVertices, static_cast<long long>(Entries),
                   static_cast<long long>(ImportLimits::MaxPerVertexEntries));
    }
    return static_cast<int32>(Entries);
}

int32 FSourceMesh::AddVertices(int64 Count)
{
    if (Count > ImportLimits::MaxSourceVertices - NumVertices)
    {
        FailImport("the meshes have too many vertices");
    }
    const int32 First = NumVertices;
    NumVertices += static_cast<int32>(Count);
    return First;
}

int32 FSourceMesh::FindOrAddMorph(FName Name)
{
    const int32 Morph = MorphNames.Find(Name);
    if (Morph != INDEX_NONE)
    {
        return Morph;
    }
    MorphHasNormals.Add(0);
    return MorphNames.Add(Name);
}

void FSourceMesh::AllocateVertexArrays(const FSourceMeshLayout& Layout)
{
    const int32 N = NumVertices;
    Positions.SetNum(N);
    Normals.SetNum(Layout.bNormals ? N : 0);
    Tangents.SetNum(Layout.bNormals && Layout.bTangents ? N : 0);
    NumUVChannels = Layout.NumUVChannels;
    UVs.Init(FVector2f(0.0f, 0.0f), SizePerVertexArray(N, NumUVChannels, "UV channels"));
    if (Layout.bColors)
    {
        Colors.Init(FVector4f(1.0f, 1.0f, 1.0f, 1.0f), N);
    }
    VertexIDs.SetNum(Layout.bVertexIDs ? N : 0);
    InfluenceStarts.Init(0, N + 1);
    const int32 NumMorphEntries = SizePerVertexArray(N, MorphNames.Num(), "morph targets");
    MorphPositions.Init(FVector3f(0.0f, 0.0f, 0.0f), NumMorphEntries);
    MorphNormals.Init(FVector3f(0.0f, 0.0f, 0.0f), NumMorphEntries);
}

FName MakeMorphTargetName(const FString& FileName, int32 Index)
{
    const FString Clean = ImportedText::CleanName(FileName.View());
    return FName(FUniqueNameSet::IsNoneName(Clean) ? FString::Printf("MorphTarget_%d", Index) : Clean);
}
