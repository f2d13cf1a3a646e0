#include "RivetCli/Selection/SelectionPainter.h"

#include "Engine/Assets/AssetSourceFile.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/Selections/TriangleSelectionOps.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "Interchange/InterchangeFileFrame.h"
#include "RivetMaterialSlots.h"

namespace
{
constexpr EMeshSelectionElementType Faces = EMeshSelectionElementType::Face;

/** What painting works on: the active selection tool, its preview and the asset it edits (may be null). */
struct FPaintTarget
{
    UMeshSelectionTool* Tool = nullptr;
    const FDynamicMesh3* Preview = nullptr;
    const USkeletalMesh* Asset = nullptr;
};

/** A term checked against the target, with the slot or bone it names resolved to an index. */
struct FResolvedTerm
{
    const FSelectionTerm* Term = nullptr;
    int32 Index = INDEX_NONE;
    /** Box: the box in the host's axes and unit. */
    FBox Box;
};

bool FindPaintTarget(const FHeadlessEditor& Editor, FPaintTarget& Out, FString& OutError)
{
    UMeshSelectionTool* Tool = Editor.GetSelectionTool();
    if (!Tool || !Tool->GetSelection() || !Tool->GetPreviewMesh())
    {
        OutError = "no selection tool is active";
        return false;
    }
    if (Tool->HasPendingAction())
    {
        OutError = "the selection tool has an action waiting for the next tick";
        return false;
    }
    Out = {Tool, Tool->GetPreviewMesh()->GetMesh(), Tool->GetTargetSkeletalMesh()};
    return true;
}

bool RequireAsset(const FPaintTarget& Target, FString& OutError)
{
    if (!Target.Asset)
    {
        OutError = "the selection tool edits no skeletal mesh";
    }
    return Target.Asset != nullptr;
}

FString DescribeSlots(const TArray<FSkeletalMaterial>& Slots)
{
    if (Slots.IsEmpty())
    {
        return "the mesh has none";
    }
    TArray<FString> Names;
    for (const FSkeletalMaterial& Slot : Slots)
    {
        Names.Add(Slot.MaterialSlotName.ToString());
    }
    return "slots: " + FString::Join(Names, ", ");
}

int32 FindSlot(const TArray<FSkeletalMaterial>& Slots, const FSelectionTerm& Term)
{
    if (Term.Name.IsEmpty())
    {
        return Slots.IsValidIndex(Term.SlotIndex) ? Term.SlotIndex : INDEX_NONE;
    }
    const FName Name(Term.Name);
    for (int32 Index = 0; Index < Slots.Num(); ++Index)
    {
        if (Slots[Index].MaterialSlotName == Name)
        {
            return Index;
        }
    }
    return INDEX_NONE;
}

bool ResolveSlot(const FPaintTarget& Target, const FSelectionTerm& Term, int32& OutSlot, FString& OutError)
{
    if (!RequireAsset(Target, OutError))
    {
        return false;
    }
    const TArray<FSkeletalMaterial>& Slots = Target.Asset->GetMaterials();
    OutSlot = FindSlot(Slots, Term);
    if (OutSlot == INDEX_NONE)
    {
        const FString Wanted =
            Term.Name.IsEmpty() ? FString::FromInt(Term.SlotIndex) : FString::Printf("'%s'", *Term.Name);
        OutError = FString::Printf("no material slot %s (%s)", *Wanted, *DescribeSlots(Slots));
        return false;
    }
    if (!Target.Preview->HasAttributes() || !Target.Preview->Attributes()->HasMaterialID())
    {
        OutError = "the preview mesh has no material IDs";
        return false;
    }
    return true;
}

bool ResolveBone(const FPaintTarget& Target, const FSelectionTerm& Term, int32& OutBone, FString& OutError)
{
    if (!RequireAsset(Target, OutError))
    {
        return false;
    }
    OutBone = Target.Asset->GetRefSkeleton().FindRawBoneIndex(FName(Term.Name));
    if (OutBone == INDEX_NONE)
    {
        OutError = FString::Printf("no bone '%s'", *Term.Name);
        return false;
    }
    if (!Target.Preview->HasAttributes() || !Target.Preview->Attributes()->GetSkinWeightsAttribute())
    {
        OutError = "the preview mesh has no skin weights";
        return false;
    }
    return true;
}

/** The term's box in host coordinates; a box@file: box is converted from the asset's file's frame. */
bool ResolveBox(const FPaintTarget& Target, const FSelectionTerm& Term, FBox& OutBox, FString& OutError)
{
    if (!Term.bFileCoordinates)
    {
        OutBox = FBox(Term.BoxMin, Term.BoxMax);
        return true;
    }
    const UAssetSourceFile* Source = Target.Asset ? Target.Asset->GetSourceFile() : nullptr;
    const FInterchangeFileFrame Frame = Source ? GetSourceFileFrame(*Target.Asset) : FInterchangeFileFrame();
    if (!Frame.bKnown)
    {
        OutError = FString::Printf("box@file: the file's axes are %s; use box: with the host's coordinates "
                                   "(rivet info prints the bounds in both)",
                                   Source ? "unknown" : "unknown: the asset has no source file");
        return false;
    }
    OutBox = FBox();
    OutBox += Frame.ToHost(Term.BoxMin);
    OutBox += Frame.ToHost(Term.BoxMax);
    return true;
}

bool CheckTriangle(const FDynamicMesh3& Preview, int32 Triangle, FString& OutError)
{
    if (Preview.IsTriangle(Triangle))
    {
        return true;
    }
    const FString Known = Preview.MaxTriangleID() > 0 ? FString::Printf("0-%d", Preview.MaxTriangleID() - 1)
                                                      : FString("it has none");
    OutError = FString::Printf("triangle %d is not a triangle of the preview mesh (%s)", Triangle, *Known);
    return false;
}

/** Stops at the first ID that is not live, so the work is bounded by the preview's ID range. */
bool CheckTriangleRanges(const FDynamicMesh3& Preview, const TArray<FTriangleIDRange>& Ranges,
                         FString& OutError)
{
    for (const FTriangleIDRange& Range : Ranges)
    {
        for (int32 Triangle = Range.First; Triangle <= Range.Last; ++Triangle)
        {
            if (!CheckTriangle(Preview, Triangle, OutError))
            {
                return false;
            }
        }
    }
    return true;
}

bool ResolveTerm(const FPaintTarget& Target, const FSelectionTerm& Term, FResolvedTerm& Out,
                 FString& OutError)
{
    Out.Term = &Term;
    switch (Term.Kind)
    {
        case ESelectionTermKind::Slot:
            return ResolveSlot(Target, Term, Out.Index, OutError);
        case ESelectionTermKind::Bone:
            return ResolveBone(Target, Term, Out.Index, OutError);
        case ESelectionTermKind::Box:
            return ResolveBox(Target, Term, Out.Box, OutError);
        case ESelectionTermKind::Triangles:
            return CheckTriangleRanges(*Target.Preview, Term.Triangles, OutError);
        case ESelectionTermKind::Island:
            return CheckTriangle(*Target.Preview, Term.Triangle, OutError);
        default:
            return true;
    }
}

template <typename PredicateType>
TArray<int32> TrianglesWhere(const FDynamicMesh3& Preview, PredicateType&& Predicate)
{
    TArray<int32> Triangles;
    for (const int32 Triangle : Preview.TriangleIndices())
    {
        if (Predicate(Triangle))
        {
            Triangles.Add(Triangle);
        }
    }
    return Triangles;
}

/** Groups beyond the table draw with the slot of their own index. */
TArray<int32> SlotTriangles(const FPaintTarget& Target, int32 Slot)
{
    const TArray<int32> GroupToSlot = BuildGroupToSlotMap(Target.Asset);
    const FDynamicMeshMaterialAttribute& Groups = *Target.Preview->Attributes()->GetMaterialID();
    return TrianglesWhere(*Target.Preview,
                          [&](int32 Triangle)
                          {
                              const int32 Group = Groups.GetValue(Triangle);
                              return (GroupToSlot.IsValidIndex(Group) ? GroupToSlot[Group] : Group) == Slot;
                          });
}

bool IsWeightedTo(std::span<const FBoneWeight> Weights, int32 Bone, double MinWeight)
{
    for (const FBoneWeight& Weight : Weights)
    {
        if (Weight.BoneIndex == Bone && Weight.RawWeight > 0 && Weight.GetWeight() >= MinWeight)
        {
            return true;
        }
    }
    return false;
}

TArray<int32> BoneTriangles(const FDynamicMesh3& Preview, int32 Bone, double MinWeight)
{
    const FDynamicMeshVertexSkinWeightsAttribute& Weights = *Preview.Attributes()->GetSkinWeightsAttribute();
    return TrianglesWhere(Preview,
                          [&](int32 Triangle)
                          {
                              const FIndex3i Corners = Preview.GetTriangle(Triangle);
                              return IsWeightedTo(Weights.GetValue(Corners.A), Bone, MinWeight) ||
                                     IsWeightedTo(Weights.GetValue(Corners.B), Bone, MinWeight) ||
                                     IsWeightedTo(Weights.GetValue(Corners.C), Bone, MinWeight);
                          });
}

TArray<int32> BoxTriangles(const FDynamicMesh3& Preview, const FBox& Box)
{
    return TrianglesWhere(Preview,
                          [&](int32 Triangle) { return Box.IsInside(Preview.GetTriCentroid(Triangle)); });
}

TArray<int32> ListedTriangles(const TArray<FTriangleIDRange>& Ranges)
{
    TArray<int32> Triangles;
    for (const FTriangleIDRange& Range : Ranges)
    {
        for (int32 Triangle = Range.First; Triangle <= Range.Last; ++Triangle)
        {
            Triangles.Add(Triangle);
        }
    }
    return Triangles;
}

TArray<int32> RegionTriangles(const FPaintTarget& Target, const FResolvedTerm& Resolved)
{
    const FSelectionTerm& Term = *Resolved.Term;
    switch (Term.Kind)
    {
        case ESelectionTermKind::Slot:
            return SlotTriangles(Target, Resolved.Index);
        case ESelectionTermKind::Bone:
            return BoneTriangles(*Target.Preview, Resolved.Index, Term.MinWeight);
        case ESelectionTermKind::Box:
            return BoxTriangles(*Target.Preview, Resolved.Box);
        case ESelectionTermKind::Triangles:
            return ListedTriangles(Term.Triangles);
        case ESelectionTermKind::Island:
            return TriangleSelectionOps::ExpandToConnected(*Target.Preview, {Term.Triangle});
        default:
            VT_CHECKF(false, "'%s' is not a region", *Term.Text);
            return {};
    }
}

/** The tool action that all, -all and the modifiers stand for. */
EMeshSelectionToolActions ToolActionOf(const FSelectionTerm& Term)
{
    switch (Term.Kind)
    {
        case ESelectionTermKind::All:
            return Term.bRemove ? EMeshSelectionToolActions::ClearSelection
                                : EMeshSelectionToolActions::SelectAll;
        case ESelectionTermKind::Grow:
            return EMeshSelectionToolActions::GrowSelection;
        case ESelectionTermKind::Shrink:
            return EMeshSelectionToolActions::ShrinkSelection;
        case ESelectionTermKind::Invert:
            return EMeshSelectionToolActions::InvertSelection;
        default:
            return EMeshSelectionToolActions::NoAction;
    }
}

void ApplyTerm(FHeadlessEditor& Editor, const FPaintTarget& Target, const FResolvedTerm& Resolved)
{
    const EMeshSelectionToolActions Action = ToolActionOf(*Resolved.Term);
    if (Action != EMeshSelectionToolActions::NoAction)
    {
        Target.Tool->RequestAction(Action);
        Editor.Tick();
        return;
    }
    const TArray<int32> Triangles = RegionTriangles(Target, Resolved);
    if (Resolved.Term->bRemove)
    {
        Target.Tool->GetSelection()->RemoveIndices(Faces, Triangles);
    }
    else
    {
        Target.Tool->GetSelection()->AddIndices(Faces, Triangles);
    }
}
} // namespace

bool PaintSelection(FHeadlessEditor& Editor, const TArray<FSelectionTerm>& Terms, FString& OutError)
{
    FPaintTarget Target;
    if (!FindPaintTarget(Editor, Target, OutError))
    {
        return false;
    }
    TArray<FResolvedTerm> Resolved;
    Resolved.Reserve(Terms.Num());
    for (const FSelectionTerm& Term : Terms)
    {
        if (!ResolveTerm(Target, Term, Resolved.Emplace_GetRef(), OutError))
        {
            return false;
        }
    }
    for (const FResolvedTerm& Term : Resolved)
    {
        ApplyTerm(Editor, Target, Term);
    }
    return true;
}
