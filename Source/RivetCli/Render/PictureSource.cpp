#include "RivetCli/Render/PictureSource.h"

#include "Core/Animation/BoneWeight.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "RivetCli/Render/MeshRasterizer.h"
#include "RivetCli/Render/RenderPalette.h"
#include "RivetCli/Selection/TriangleIslands.h"
#include "RivetMaterialSlots.h"

#include <algorithm>

namespace
{
/** The group of each triangle, or 0 without material IDs. */
int32 GroupOf(const FDynamicMesh3& Mesh, int32 Triangle)
{
    const FDynamicMeshMaterialAttribute* Groups =
        Mesh.HasAttributes() ? Mesh.Attributes()->GetMaterialID() : nullptr;
    return Groups ? Groups->GetValue(Triangle) : 0;
}

/**
 * The slot each group of the LOD draws with. LOD 0 follows BuildGroupToSlotMap; on a further LOD the
 * sections are its groups with triangles in ascending order, and the LOD's material map redirects them.
 */
TArray<int32> GroupToSlotOfLOD(const FPictureSource& Source)
{
    if (Source.LOD == 0)
    {
        return BuildGroupToSlotMap(Source.Asset);
    }
    TArray<int32> Groups;
    for (const int32 Triangle : Source.Mesh->TriangleIndices())
    {
        Groups.Add(GroupOf(*Source.Mesh, Triangle));
    }
    std::sort(Groups.begin(), Groups.end());
    Groups.SetNum(static_cast<int32>(std::unique(Groups.begin(), Groups.end()) - Groups.begin()));
    TArray<int32> GroupToSlot;
    const FSkeletalLODInfo* Info = Source.Asset->GetLODInfo(Source.LOD);
    for (int32 Section = 0; Section < Groups.Num(); ++Section)
    {
        const int32 Group = Groups[Section];
        while (GroupToSlot.Num() <= Group)
        {
            GroupToSlot.Add(GroupToSlot.Num());
        }
        if (Info && Info->LODMaterialMap.IsValidIndex(Section) && Info->LODMaterialMap[Section] != INDEX_NONE)
        {
            GroupToSlot[Group] = Info->LODMaterialMap[Section];
        }
    }
    return GroupToSlot;
}

void ColorBySlot(const FPictureSource& Source, FPicture& Out, const TArray<int32>& TriangleIDs)
{
    const TArray<int32> GroupToSlot = GroupToSlotOfLOD(Source);
    const TArray<FSkeletalMaterial>& Slots = Source.Asset->GetMaterials();
    TArray<uint8> Drawn;
    Drawn.Init(0, Slots.Num());
    for (const int32 Triangle : TriangleIDs)
    {
        const int32 Group = GroupOf(*Source.Mesh, Triangle);
        const int32 Slot = GroupToSlot.IsValidIndex(Group) ? GroupToSlot[Group] : Group;
        Out.Mesh.TriangleColors.Add(RenderPalette::SlotColor(Slot));
        if (Drawn.IsValidIndex(Slot))
        {
            Drawn[Slot] = 1;
        }
    }
    for (int32 Slot = 0; Slot < Slots.Num(); ++Slot)
    {
        if (Drawn[Slot])
        {
            Out.Legend.Add({FLegendEntry::EKind::Swatch, RenderPalette::SlotColor(Slot),
                            FString::Printf("%d %s", Slot, *Slots[Slot].MaterialSlotName.ToString())});
        }
    }
}

/** The weight of Bone at each vertex of the mesh (indexed by vertex ID). */
TArray<double> BoneWeights(const FDynamicMesh3& Mesh, int32 Bone)
{
    TArray<double> Weights;
    Weights.Init(0.0, Mesh.MaxVertexID());
    const FDynamicMeshVertexSkinWeightsAttribute* Skin =
        Mesh.HasAttributes() ? Mesh.Attributes()->GetSkinWeightsAttribute() : nullptr;
    if (!Skin)
    {
        return Weights;
    }
    for (const int32 Vertex : Mesh.VertexIndices())
    {
        for (const FBoneWeight& Weight : Skin->GetValue(Vertex))
        {
            if (Weight.BoneIndex == Bone)
            {
                Weights[Vertex] += Weight.GetWeight();
            }
        }
    }
    return Weights;
}

bool ColorByBone(const FPictureSource& Source, const FRenderColorBy& ColorBy, FPicture& Out,
                 const TArray<int32>& TriangleIDs, FString& OutError)
{
    const int32 Bone = Source.Asset->GetRefSkeleton().FindBoneIndex(FName(ColorBy.Bone));
    if (Bone == INDEX_NONE)
    {
        OutError = FString::Printf("no bone '%s'", *ColorBy.Bone);
        return false;
    }
    const TArray<double> Weights = BoneWeights(*Source.Mesh, Bone);
    if (ColorBy.Mode == ERenderColoring::Weights)
    {
        for (const double Weight : Weights)
        {
            Out.Mesh.VertexColors.Add(RenderPalette::HeatColor(Weight));
        }
        Out.Mesh.TriangleColors.Init(RenderPalette::Neutral, TriangleIDs.Num());
        Out.Legend.Add(
            {FLegendEntry::EKind::HeatRamp, {}, FString::Printf("weights of %s, 0 to 1", *ColorBy.Bone)});
        return true;
    }
    for (const int32 Triangle : TriangleIDs)
    {
        const FIndex3i Corners = Source.Mesh->GetTriangle(Triangle);
        const bool bWeighted =
            Weights[Corners.A] > 0.0 || Weights[Corners.B] > 0.0 || Weights[Corners.C] > 0.0;
        Out.Mesh.TriangleColors.Add(bWeighted ? RenderPalette::Bone : RenderPalette::Neutral);
    }
    Out.Legend.Add(
        {FLegendEntry::EKind::Swatch, RenderPalette::Bone, FString::Printf("weighted to %s", *ColorBy.Bone)});
    return true;
}

void ColorByIsland(const FPictureSource& Source, FPicture& Out, const TArray<int32>& TriangleIDs)
{
    const FTriangleIslands Islands = FindTriangleIslands(*Source.Mesh);
    for (const int32 Triangle : TriangleIDs)
    {
        Out.Mesh.TriangleColors.Add(RenderPalette::IslandColor(Islands.IslandOfTriangle[Triangle]));
    }
    Out.Legend.Add(
        {FLegendEntry::EKind::TextOnly, {}, FString::Printf("%d island(s)", Islands.Islands.Num())});
}

bool PosePositions(const FPictureSource& Source, FPicture& Out, FString& OutError)
{
    const FDynamicMesh3& Mesh = *Source.Mesh;
    Out.Mesh.Positions.SetNum(Mesh.MaxVertexID());
    for (const int32 Vertex : Mesh.VertexIndices())
    {
        Out.Mesh.Positions[Vertex] = Mesh.GetVertex(Vertex);
    }
    if (Source.BoneEdits.IsEmpty())
    {
        return true;
    }
    TArray<FBoneMove> Moves;
    if (!ComputeBoneMoves(Source.Asset->GetRefSkeleton(), Source.BoneEdits, Moves, OutError))
    {
        return false;
    }
    const FDynamicMeshVertexSkinWeightsAttribute* Skin =
        Mesh.HasAttributes() ? Mesh.Attributes()->GetSkinWeightsAttribute() : nullptr;
    if (!Skin)
    {
        return true;
    }
    for (const int32 Vertex : Mesh.VertexIndices())
    {
        Out.Mesh.Positions[Vertex] = SkinPosition(Out.Mesh.Positions[Vertex], Skin->GetValue(Vertex), Moves);
    }
    return true;
}

void MarkSelection(const FPictureSource& Source, FPicture& Out, const TArray<int32>& TriangleIDs)
{
    if (Source.Selected.IsEmpty())
    {
        return;
    }
    TArray<uint8> IsSelected;
    IsSelected.Init(0, Source.Mesh->MaxTriangleID());
    int32 Count = 0;
    for (const int32 Triangle : Source.Selected)
    {
        if (IsSelected.IsValidIndex(Triangle) && Source.Mesh->IsTriangle(Triangle) && !IsSelected[Triangle])
        {
            IsSelected[Triangle] = 1;
            ++Count;
        }
    }
    for (const int32 Triangle : TriangleIDs)
    {
        Out.Mesh.Highlighted.Add(IsSelected[Triangle]);
    }
    const FRasterOptions Defaults;
    Out.Legend.Add(
        {FLegendEntry::EKind::Swatch, Defaults.HighlightColor, FString::Printf("selected (%d)", Count)});
}
} // namespace

bool MakePicture(const FPictureSource& Source, const FRenderColorBy& ColorBy, FPicture& Out,
                 FString& OutError)
{
    Out = FPicture();
    if (!PosePositions(Source, Out, OutError))
    {
        return false;
    }
    TArray<int32> TriangleIDs;
    for (const int32 Triangle : Source.Mesh->TriangleIndices())
    {
        TriangleIDs.Add(Triangle);
        Out.Mesh.Triangles.Add(Source.Mesh->GetTriangle(Triangle));
    }
    switch (ColorBy.Mode)
    {
        case ERenderColoring::Slot:
            ColorBySlot(Source, Out, TriangleIDs);
            break;
        case ERenderColoring::Bone:
        case ERenderColoring::Weights:
            if (!ColorByBone(Source, ColorBy, Out, TriangleIDs, OutError))
            {
                return false;
            }
            break;
        case ERenderColoring::Island:
            ColorByIsland(Source, Out, TriangleIDs);
            break;
    }
    MarkSelection(Source, Out, TriangleIDs);
    return true;
}

FString MakePictureCaption(const FString& Name, int32 LOD, int32 Triangles, const FPictureOptions& Options)
{
    return FString::Printf("%s - LOD %d - %d triangles - %s view", *Name, LOD, Triangles,
                           RenderViewName(Options.View));
}

bool ConvertLODForPicture(const USkeletalMesh& Asset, int32 LOD, FDynamicMesh3& Out)
{
    const FMeshDescription* Description = Asset.GetMeshDescription(LOD);
    if (!Description)
    {
        return false;
    }
    FMeshDescriptionToDynamicMesh().Convert(*Description, Out, /*bCopyTangents=*/false);
    return true;
}
