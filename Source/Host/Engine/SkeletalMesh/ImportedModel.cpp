#include "Engine/SkeletalMesh/ImportedModel.h"

#include "Core/Misc/Check.h"
#include "MeshDescription/MeshDescription.h"

#include <limits>

namespace
{
/** The number of triangles of each polygon group, indexed by group ID. */
TArray<int32> CountTrianglesPerGroup(const FMeshDescription& Description)
{
    TArray<int32> Counts;
    Counts.SetNum(Description.PolygonGroups().GetArraySize(), 0);
    for (const FTriangleID Triangle : Description.Triangles().GetElementIDs())
    {
        ++Counts[Description.GetTrianglePolygonGroup(Triangle).GetValue()];
    }
    return Counts;
}

/** Sections for the groups that have triangles; the group's first index goes into GroupFirstIndex. */
TArray<FImportedSection> MakeSections(const TArray<int32>& TrianglesPerGroup, TArray<int32>& GroupFirstIndex)
{
    TArray<FImportedSection> Sections;
    GroupFirstIndex.SetNum(TrianglesPerGroup.Num(), 0);
    int32 NextIndex = 0;
    for (int32 Group = 0; Group < TrianglesPerGroup.Num(); ++Group)
    {
        if (TrianglesPerGroup[Group] == 0)
        {
            continue;
        }
        VT_CHECKF(Group <= std::numeric_limits<uint16>::max(), "polygon group %d is beyond a section's index",
                  Group);
        FImportedSection Section;
        Section.MaterialIndex = static_cast<uint16>(Group);
        Section.BaseIndex = NextIndex;
        Section.NumTriangles = TrianglesPerGroup[Group];
        GroupFirstIndex[Group] = NextIndex;
        NextIndex += 3 * Section.NumTriangles;
        Sections.Add(Section);
    }
    return Sections;
}
} // namespace

void FImportedLODModel::Build(const FMeshDescription& Description)
{
    TArray<int32> GroupCursor;
    Sections = MakeSections(CountTrianglesPerGroup(Description), GroupCursor);

    // The index buffer first holds vertex instance IDs, placed section by section.
    IndexBuffer.SetNum(3 * Description.Triangles().Num(), 0);
    for (const FTriangleID Triangle : Description.Triangles().GetElementIDs())
    {
        int32& Cursor = GroupCursor[Description.GetTrianglePolygonGroup(Triangle).GetValue()];
        for (const FVertexInstanceID Instance : Description.GetTriangleVertexInstances(Triangle))
        {
            IndexBuffer[Cursor++] = static_cast<uint32>(Instance.GetValue());
        }
    }

    // Then each section numbers its vertex instances in first-use order.
    TArray<int32> RenderVertexOfInstance;
    TArray<int32> SectionOfInstance;
    RenderVertexOfInstance.SetNum(Description.VertexInstances().GetArraySize(), INDEX_NONE);
    SectionOfInstance.SetNum(Description.VertexInstances().GetArraySize(), INDEX_NONE);
    RenderVertexInstances.Reset();
    RenderVertexInstances.Reserve(Description.VertexInstances().Num());
    for (int32 SectionIndex = 0; SectionIndex < Sections.Num(); ++SectionIndex)
    {
        FImportedSection& Section = Sections[SectionIndex];
        Section.BaseVertexIndex = RenderVertexInstances.Num();
        for (int32 Index = Section.BaseIndex; Index < Section.BaseIndex + 3 * Section.NumTriangles; ++Index)
        {
            const int32 Instance = static_cast<int32>(IndexBuffer[Index]);
            if (SectionOfInstance[Instance] != SectionIndex)
            {
                SectionOfInstance[Instance] = SectionIndex;
                RenderVertexOfInstance[Instance] = RenderVertexInstances.Num();
                RenderVertexInstances.Add(Instance);
            }
            IndexBuffer[Index] = static_cast<uint32>(RenderVertexOfInstance[Instance]);
        }
        Section.NumVertices = RenderVertexInstances.Num() - Section.BaseVertexIndex;
    }
}
