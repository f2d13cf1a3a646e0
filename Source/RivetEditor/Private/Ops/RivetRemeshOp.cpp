#include "RivetEditor/Private/Ops/RivetRemeshOp.h"

#include "Core/Text/LocText.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshConversion/DynamicMeshToMeshDescription.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "MeshDescription/MeshAttributes.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetMeshCommit.h"
#include "RivetEditor/Private/Ops/RivetRemeshRegion.h"
#include "RivetEditorLog.h"

#include <algorithm>
#include <utility>

#define VT_LOCTEXT_NAMESPACE "RivetRemeshOp"

namespace
{
constexpr double MinDensity = 0.1;
constexpr double MaxDensity = 10.0;
constexpr int32 MinPasses = 1;
constexpr int32 MaxPasses = 50;

FRivetRemeshResult Refuse(FRivetRemeshResult& Result, FText Message)
{
    Result.Message = std::move(Message);
    return Result;
}

/** Per LOD 0 triangle ID, 1 when the list names it; Count is the number of distinct live triangles named. */
TArray<uint8> MarkSelectedTriangles(const FMeshDescription& Description, const TArray<int32>& TriangleIDs,
                                    int32& Count)
{
    TArray<uint8> bSelected;
    bSelected.Init(0, Description.Triangles().GetArraySize());
    Count = 0;
    for (const int32 ID : TriangleIDs)
    {
        if (Description.Triangles().IsValid(FTriangleID(ID)) && !bSelected[ID])
        {
            bSelected[ID] = 1;
            ++Count;
        }
    }
    return bSelected;
}

bool HasMorphNormals(const FMeshDescription& Description)
{
    const FSkeletalMeshAttributesShared Attributes(Description);
    for (const FName Morph : Attributes.GetMorphTargetNames())
    {
        if (Attributes.HasMorphTargetNormalsAttribute(Morph))
        {
            return true;
        }
    }
    return false;
}

/** The slot name attribute of the polygon groups, when it holds one name per group. */
TMeshAttributesRef<FPolygonGroupID, FName> FindSlotNames(FMeshDescription& Description)
{
    const TMeshAttributesRef<FPolygonGroupID, FName> Names =
        Description.PolygonGroupAttributes().GetAttributesRef<FName>(
            MeshAttribute::PolygonGroup::ImportedMaterialSlotName);
    return Names.IsValid() && Names.GetNumChannels() == 1 ? Names : TMeshAttributesRef<FPolygonGroupID, FName>();
}

/** One slot name per polygon group, in ascending group ID order; None for all without the attribute. */
TArray<FName> SaveSlotNames(FMeshDescription& Description)
{
    const TMeshAttributesRef<FPolygonGroupID, FName> Names = FindSlotNames(Description);
    TArray<FName> Saved;
    Saved.Reserve(Description.PolygonGroups().Num());
    for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
    {
        Saved.Add(Names.IsValid() ? Names[Group] : NAME_None);
    }
    return Saved;
}

/** The working mesh's triangles that come from selected LOD 0 triangles, in ascending order. */
TArray<int32> FindTriangleRegion(const FDynamicMesh3& Working, const TArray<FTriangleID>& TriangleMap,
                                 const TArray<uint8>& bSelected)
{
    TArray<int32> Region;
    for (const int32 Triangle : Working.TriangleIndices())
    {
        const int32 Source = TriangleMap.IsValidIndex(Triangle) ? TriangleMap[Triangle].GetValue() : INDEX_NONE;
        if (bSelected.IsValidIndex(Source) && bSelected[Source])
        {
            Region.Add(Triangle);
        }
    }
    return Region;
}
} // namespace

FRivetRemeshResult RemeshSelection(USkeletalMesh* Mesh, const FRivetRemeshParams& Params)
{
    FRivetRemeshResult Result;
    if (!Mesh)
    {
        return Refuse(Result, VT_LOCTEXT("NoMesh", "Could not reach the skeletal mesh. Nothing was changed."));
    }
    FMeshDescription* Description = Mesh->GetMeshDescription(0);
    if (!Description)
    {
        return Refuse(Result,
                      VT_LOCTEXT("NoMeshDescription", "The mesh has no LOD0 geometry. Nothing was changed."));
    }
    Result.TrianglesBefore = Description->Triangles().Num();
    int32 NumSelected = 0;
    const TArray<uint8> bSelected = MarkSelectedTriangles(*Description, Params.TriangleIDs, NumSelected);
    if (NumSelected == 0)
    {
        return Refuse(Result,
                      VT_LOCTEXT("EmptySelection", "Select at least one polygon first. Nothing was changed."));
    }
    if (HasMorphNormals(*Description))
    {
        return Refuse(Result, VT_LOCTEXT("MorphNormalsWouldBeLost",
                                         "This mesh has morph targets that carry normal deltas, and remeshing "
                                         "would discard them for every morph on the mesh - not just the "
                                         "selected polygons. The operation was not performed and nothing was "
                                         "changed."));
    }
    const TArray<FName> SlotNames = SaveSlotNames(*Description);

    FDynamicMesh3 Working;
    FMeshDescriptionToDynamicMesh ToDynamic;
    ToDynamic.Convert(*Description, Working);
    if (Working.TriangleCount() != Result.TrianglesBefore)
    {
        return Refuse(Result, VT_LOCTEXT("ConversionMismatch",
                                         "The mesh could not be converted cleanly for remeshing. Nothing was "
                                         "changed."));
    }
    const TArray<int32> Region = FindTriangleRegion(Working, ToDynamic.TriangleMap, bSelected);
    if (Region.Num() != NumSelected)
    {
        return Refuse(Result, VT_LOCTEXT("SelectionMappingFailed",
                                         "Could not match the selection to the converted mesh. Nothing was "
                                         "changed."));
    }

    Result.AverageEdgeLength = MeasureAverageEdgeLength(Working, Region);
    const int32 Passes = std::max(std::min(Params.Iterations, MaxPasses), MinPasses);
    Result.TargetEdgeLength = std::max(std::min(Params.Density, MaxDensity), MinDensity) * Result.AverageEdgeLength;
    if (!(Result.TargetEdgeLength > 0.0))
    {
        return Refuse(Result, VT_LOCTEXT("DegenerateSelection",
                                         "The selected polygons have no measurable size. Nothing was changed."));
    }

    // A small Density on a large region asks for many times its triangles; refuse before memory runs out.
    const double ExpectedTriangles = static_cast<double>(Result.TrianglesBefore - Region.Num()) +
                                     EstimateRemeshedTriangleCount(Working, Region, Result.TargetEdgeLength);
    if (ExpectedTriangles > static_cast<double>(Params.MaxTrianglesAfter))
    {
        return Refuse(Result, FText::Format(VT_LOCTEXT("TooManyTriangles",
                                                       "The remeshed mesh would have about {0} triangles, more "
                                                       "than the {1} a remesh may make. Nothing was changed. "
                                                       "Raise Density or select fewer polygons."),
                                            static_cast<int64>(ExpectedTriangles), Params.MaxTrianglesAfter));
    }

    RemeshTriangleRegion(Working, Region, Result.TargetEdgeLength, Passes);

    FMeshDescription Remeshed = FMeshDescription::CopyWithoutElements(*Description);
    FDynamicMeshToMeshDescription().Convert(Working, Remeshed);
    if (Remeshed.PolygonGroups().Num() != SlotNames.Num())
    {
        return Refuse(Result, VT_LOCTEXT("PolygonGroupCountChanged",
                                         "The material slot groups changed during remeshing, so the slot names "
                                         "could not be restored safely. Nothing was changed."));
    }
    const TMeshAttributesRef<FPolygonGroupID, FName> RemeshedNames = FindSlotNames(Remeshed);
    if (!RemeshedNames.IsValid())
    {
        return Refuse(Result, VT_LOCTEXT("SlotNamesUnavailable",
                                         "The converted mesh has no material slot name attribute, so the slot "
                                         "names could not be restored. Nothing was changed."));
    }
    int32 Position = 0;
    for (const FPolygonGroupID Group : Remeshed.PolygonGroups().GetElementIDs())
    {
        RemeshedNames.Set(Group, SlotNames[Position++]);
    }

    Mesh->ModifyMeshDescription(0, /*bAlwaysMarkDirty=*/true);
    *Description = std::move(Remeshed);
    CommitLOD0(*Mesh, Params.bPostEditChange);

    Result.TrianglesAfter = Mesh->GetMeshDescription(0)->Triangles().Num();
    Result.Passes = Passes;
    Result.bSuccess = true;
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Remesh: %d -> %d triangles, average edge %.3f -> target %.3f, %d passes",
           Result.TrianglesBefore, Result.TrianglesAfter, Result.AverageEdgeLength, Result.TargetEdgeLength,
           Result.Passes);
    return Result;
}

#undef VT_LOCTEXT_NAMESPACE
