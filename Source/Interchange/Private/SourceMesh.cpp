#include "Interchange/Private/SourceMesh.h"

#include "Interchange/Private/InterchangeFailure.h"

namespace
{
/** 64M entries: a million vertices with 64 morph targets, or 16M vertices with four UV channels. */
constexpr int64 MaxPerVertexEntries = int64(1) << 26;
} // namespace

int32 SizePerVertexArray(int32 NumVertices, int32 PerVertex, const char* What)
{
    const int64 Entries = static_cast<int64>(NumVertices) * static_cast<int64>(PerVertex);
    if (Entries > MaxPerVertexEntries)
    {
        FailImport("the %s of %d vertices need %lld entries, more than the %lld a mesh may have", What,
                   NumVertices, static_cast<long long>(Entries), static_cast<long long>(MaxPerVertexEntries));
    }
    return static_cast<int32>(Entries);
}
