#include "Soak/SoakActions.h"

#include "CoreUObject/Reflection/Class.h"
#include "CoreUObject/Reflection/Enum.h"
#include "CoreUObject/Reflection/Function.h"
#include "CoreUObject/Reflection/PropertyAccess.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolPropertySet.h"
#include "RivetCli/Selection/SelectionPainter.h"
#include "RivetCli/Session/BoneEdit.h"
#include "RivetCli/Session/PropertyOptions.h"
#include "RivetEditor/Private/Ops/RivetRemeshRegion.h"
#include "RivetEditor/Private/Tools/RivetRemeshTool.h"
#include "VantorEd/Animation/DebugSkelMeshComponent.h"

#include <algorithm>
#include <cmath>

namespace
{
const TArray<FString> ToolNames = {"Assign New Material Slot", "Bake Bone Transform", "Delete Polygons",
                                   "Detach Polygons", "Remesh Polygons"};
/** Frames a tool that takes one request a frame needs to work off every kind of request it has. */
constexpr int32 RequestFrames = 5;
/**
 * Settings users change more often than the rest: whether the bake resets the bones' rotation (skinned
 * bones refuse it), where the slot tool puts the selection, and the remesh density.
 */
const TArray<FString> HabitualProperties = {"bZeroTheBone", "Target", "Density"};

const FDynamicMesh3* PreviewOf(const FHeadlessEditor& Editor)
{
    const UMeshSelectionTool* Tool = Editor.GetSelectionTool();
    return Tool && Tool->GetPreviewMesh() && !Tool->HasPendingAction() ? Tool->GetPreviewMesh()->GetMesh()
                                                                       : nullptr;
}

/** Lets the active tool act on what was asked of it: frames until it has nothing waiting or has ended. */
void SettleTool(FHeadlessEditor& Editor)
{
    for (int32 Frame = 0; Frame < RequestFrames; ++Frame)
    {
        Editor.Tick();
        const UMeshSelectionTool* Tool = Editor.GetSelectionTool();
        if (!Editor.GetActiveTool() || (Tool && !Tool->HasPendingAction()))
        {
            return;
        }
    }
}

/** A live triangle of the preview, or INDEX_NONE when a few tries find none. */
int32 PickTriangle(FSoakContext& Context, const FDynamicMesh3& Preview)
{
    for (int32 Try = 0; Try < 16 && Preview.MaxTriangleID() > 0; ++Try)
    {
        const int32 Triangle = Context.Pick(Preview.MaxTriangleID());
        if (Preview.IsTriangle(Triangle))
        {
            return Triangle;
        }
    }
    return INDEX_NONE;
}

FString PickBoneName(FSoakContext& Context)
{
    const FReferenceSkeleton& Bones = Context.Asset.Mesh->GetRefSkeleton();
    return Bones.GetBoneName(Context.Pick(Bones.GetNum())).ToString();
}

FString PickNumber(FSoakContext& Context, double Min, double Max)
{
    return FString::Printf("%.3f", Context.Uniform(Min, Max));
}

/** Three numbers picked one after the other (the order of a call's arguments is the compiler's choice). */
FString PickTriple(FSoakContext& Context, const char* Format, double Min, double Max)
{
    const FString First = PickNumber(Context, Min, Max);
    const FString Second = PickNumber(Context, Min, Max);
    return FString::Printf(Format, *First, *Second, *PickNumber(Context, Min, Max));
}

/** A selection term: a region added or removed (triangles, island, slot, bone, box) or a modifier. */
FString PickSelectionTerm(FSoakContext& Context, const FDynamicMesh3& Preview)
{
    const FString Remove = Context.Chance(0.2) ? "-" : "";
    const int32 Triangle = PickTriangle(Context, Preview);
    switch (Context.Pick(10))
    {
        case 0:
        case 1:
        {
            FString List = FString::FromInt(Triangle);
            for (int32 More = Context.Pick(6); More > 0; --More)
            {
                List += "," + FString::FromInt(PickTriangle(Context, Preview));
            }
            return Triangle == INDEX_NONE ? FString("all") : Remove + "tris:" + List;
        }
        case 2:
            return Triangle == INDEX_NONE ? FString("all") : Remove + "island:" + FString::FromInt(Triangle);
        case 3:
            return Remove +
                   "slot:" + FString::FromInt(Context.Pick(Context.Asset.Mesh->GetMaterials().Num()));
        case 4:
        {
            const FString Bone = PickBoneName(Context);
            return Remove + "bone:" + Bone + (Context.Chance(0.5) ? ":0.5" : "");
        }
        case 5:
        {
            const FBox Bounds = Context.Asset.Mesh->GetImportedBounds().GetBox();
            const FVector Corner{Context.Uniform(Bounds.Min.X, Bounds.Max.X),
                                 Context.Uniform(Bounds.Min.Y, Bounds.Max.Y),
                                 Context.Uniform(Bounds.Min.Z, Bounds.Max.Z)};
            const FVector Far = Corner + Bounds.GetSize() * Context.Uniform(0.05, 0.5);
            return FString::Printf("%sbox:%.3f,%.3f,%.3f,%.3f,%.3f,%.3f", *Remove, Corner.X, Corner.Y,
                                   Corner.Z, Far.X, Far.Y, Far.Z);
        }
        case 6:
            return "grow";
        case 7:
            return "shrink";
        case 8:
            return Context.Chance(0.3) ? FString("invert") : FString("-all");
        default:
            return "all";
    }
}

FSoakStep Select(FSoakContext& Context)
{
    const FString Text = PickSelectionTerm(Context, *PreviewOf(Context.Editor));
    FSelectionTerm Term;
    FString Error;
    if (ParseSelectionTerm(Text, Term, Error))
    {
        PaintSelection(Context.Editor, {Term}, Error);
    }
    return {"select " + Text};
}

FSoakStep StartTool(FSoakContext& Context)
{
    const FString& Name = ToolNames[Context.Pick(ToolNames.Num())];
    Context.Editor.StartTool(Name);
    return {"tool " + Name};
}

/** A limit of the property's clamps, or the fallback when it has none. */
double ClampLimit(const FProperty& Property, const char* Key, double Fallback)
{
    long double Limit = 0;
    return VT::Reflection::ParseClampLimit(Property, Key, Limit) ? static_cast<double>(Limit) : Fallback;
}

/** A number mostly within the property's clamps (-10 to 100 without them), now and then outside them. */
FString PickClampedNumber(FSoakContext& Context, const FProperty& Property, bool bInteger)
{
    const double Min = ClampLimit(Property, "ClampMin", -10);
    const double Max = ClampLimit(Property, "ClampMax", 100);
    const double Span = Max - Min;
    const double Value =
        Context.Chance(0.2) ? Context.Uniform(Min - Span, Max + Span) : Context.Uniform(Min, Max);
    return bInteger ? FString::FromInt(static_cast<int32>(std::floor(Value)))
                    : FString::Printf("%.4f", Value);
}

FString PickVector(FSoakContext& Context, const FProperty& Property)
{
    if (Property.GetName() != "Scale")
    {
        return PickTriple(Context, "X=%s Y=%s Z=%s", -5, 5);
    }
    const FString Uniform = PickNumber(Context, 0.8, 1.25);
    const FString Y = Context.Chance(0.8) ? Uniform : PickNumber(Context, 0.8, 1.25);
    return FString::Printf("X=%s Y=%s Z=%s", *Uniform, *Y, *Uniform);
}

/** Text a user might type into a free text field: a bone's or slot's name, nothing, or a new name. */
FString PickName(FSoakContext& Context)
{
    const TArray<FSkeletalMaterial>& Slots = Context.Asset.Mesh->GetMaterials();
    switch (Context.Pick(4))
    {
        case 0:
            return PickBoneName(Context);
        case 1:
            return Slots.IsEmpty() ? FString() : Slots[Context.Pick(Slots.Num())].MaterialSlotName.ToString();
        case 2:
            return "";
        default:
            return FString::Printf("Soak_%d", Context.Pick(5));
    }
}

FString PickValue(FSoakContext& Context, const FProperty& Property)
{
    TArray<FString> Options;
    if (GetPropertyOptions(Context.Editor, Property.GetName(), Options) && !Options.IsEmpty())
    {
        return Options[Context.Pick(Options.Num())];
    }
    switch (Property.GetKind())
    {
        case EPropertyKind::Bool:
            return Context.Chance(0.5) ? "true" : "false";
        case EPropertyKind::Integer:
        case EPropertyKind::Real:
            return PickClampedNumber(Context, Property, Property.GetKind() == EPropertyKind::Integer);
        case EPropertyKind::Enum:
            return Property.GetEnum()
                ->GetEntry(Context.Pick(Property.GetEnum()->NumEntries()))
                .Name.ToString();
        case EPropertyKind::Struct:
            return Property.GetTypeName() == "FRotator" ? PickTriple(Context, "P=%s Y=%s R=%s", -180, 180)
                                                        : PickVector(Context, Property);
        default:
            return PickName(Context);
    }
}

/** Types the value into the active tool's panel and lets the tool act on it. */
FSoakStep SetValue(FSoakContext& Context, const FString& Name, const FString& Value)
{
    FString Error;
    Context.Editor.SetProperty(Name, Value, Error);
    SettleTool(Context.Editor);
    return {"set " + Name + "=" + Value};
}

FSoakStep SetProperty(FSoakContext& Context)
{
    TArray<const FProperty*> Editable;
    for (const UInteractiveToolPropertySet* Panel : Context.Editor.GetActiveTool()->GetToolProperties())
    {
        for (const FProperty* Property : Panel->GetClass()->GetProperties())
        {
            if (Property->IsEditable() && VT::Reflection::IsEditConditionMet(Panel, *Property))
            {
                Editable.Add(Property);
            }
        }
    }
    if (Editable.IsEmpty())
    {
        return {};
    }
    const TArray<const FProperty*> Habits = Editable.FilterByPredicate(
        [](const FProperty* Property) { return HabitualProperties.Contains(Property->GetName()); });
    const TArray<const FProperty*>& Candidates = !Habits.IsEmpty() && Context.Chance(0.3) ? Habits : Editable;
    const FProperty& Property = *Candidates[Context.Pick(Candidates.Num())];
    return SetValue(Context, Property.GetName(), PickValue(Context, Property));
}

/** A button of the tool's own panels, or now and then of its Mesh Edits panel; empty when it has none. */
FString PickButton(FSoakContext& Context)
{
    TArray<FString> Own;
    TArray<FString> MeshEdits;
    for (const UInteractiveToolPropertySet* Panel : Context.Editor.GetActiveTool()->GetToolProperties())
    {
        TArray<FString>& Buttons = Panel->IsA<UMeshSelectionToolActionPropertySet>() ? MeshEdits : Own;
        for (const FFunction* Function : Panel->GetClass()->GetFunctions())
        {
            if (Function->HasMetaData("CallInEditor"))
            {
                Buttons.Add(Function->GetName());
            }
        }
    }
    const TArray<FString>& Buttons =
        MeshEdits.IsEmpty() || (!Own.IsEmpty() && Context.Chance(0.7)) ? Own : MeshEdits;
    return Buttons.IsEmpty() ? FString() : Buttons[Context.Pick(Buttons.Num())];
}

/**
 * The Density at which a remesh of the selection keeps LOD 0 within the run's bound (a small Density on a
 * large region makes millions of triangles), or 0 when the panel's Density already does.
 */
double FindFittingDensity(const FSoakContext& Context)
{
    const URivetRemeshTool* Tool = Cast<URivetRemeshTool>(Context.Editor.GetSelectionTool());
    const FDynamicMesh3* Preview = PreviewOf(Context.Editor);
    if (!Tool || !Preview)
    {
        return 0.0;
    }
    const TArray<int32>& Selected = Tool->GetSelection()->GetElements(EMeshSelectionElementType::Face);
    const double EdgeLength = MeasureAverageEdgeLength(*Preview, Selected);
    const double Density = std::clamp(Tool->GetSettings()->Density, 0.1, 10.0);
    const double AtDensityOne =
        EdgeLength > 0.0 ? EstimateRemeshedTriangleCount(*Preview, Selected, EdgeLength) : 0.0;
    const double Room =
        std::max(1.0, static_cast<double>(Context.MaxTriangles - Preview->TriangleCount() + Selected.Num()));
    return AtDensityOne > Room * Density * Density
               ? std::ceil(1000.0 * std::sqrt(AtDensityOne / Room)) / 1000.0
               : 0.0;
}

FSoakStep PressButton(FSoakContext& Context)
{
    const FString Button = PickButton(Context);
    if (Button.IsEmpty())
    {
        return {};
    }
    if (const double Density = Button == "RemeshNow" ? FindFittingDensity(Context) : 0.0; Density > 0.0)
    {
        return SetValue(Context, "Density", FString::Printf("%.3f", std::min(Density, 10.0)));
    }
    FString Error;
    Context.Editor.PressButton(Button, Error);
    SettleTool(Context.Editor);
    return {"press " + Button};
}

FSoakStep EndTool(FSoakContext& Context)
{
    if (Context.Chance(0.6))
    {
        Context.Editor.AcceptTool();
        return {"accept"};
    }
    Context.Editor.CancelTool();
    return {"cancel"};
}

FSoakStep PickBone(FSoakContext& Context)
{
    const FString Bone = PickBoneName(Context);
    Context.Editor.GetPreviewComponent()->SetSelectedBoneIndices(
        {Context.Asset.Mesh->GetRefSkeleton().FindBoneIndex(FName(Bone))});
    return {"bone " + Bone};
}

/**
 * Edits a bone by hand as the Skeleton Tree does: a rotation, now and then a scale or a move. The root
 * often, since a bake that resets the bone's rotation (the panel's default) refuses skinned bones.
 */
FSoakStep EditBone(FSoakContext& Context)
{
    const FString Bone = Context.Chance(0.4) ? Context.Asset.Mesh->GetRefSkeleton().GetBoneName(0).ToString()
                                             : PickBoneName(Context);
    FString Text = Bone + PickTriple(Context, ":rotation=%s,%s,%s", -90, 90);
    if (Context.Chance(0.4))
    {
        Text += ":scale=" + PickNumber(Context, 0.8, 1.25);
    }
    if (Context.Chance(0.3))
    {
        Text += PickTriple(Context, ":location=%s,%s,%s", -2, 2);
    }
    FBoneEditRequest Edit;
    FString Error;
    if (ParseBoneEdit(Text, Edit, Error))
    {
        ApplyBoneEdit(*Context.Editor.GetPreviewComponent()->GetPreviewInstance(), Edit);
        Context.Editor.Tick();
    }
    return {"bone-edit " + Text};
}

FSoakStep Tick(FSoakContext& Context)
{
    const int32 Frames = 1 + Context.Pick(3);
    Context.Editor.Tick(Frames);
    return {FString::Printf("tick %d", Frames)};
}

/** Undoes (or redoes) one to three steps; the run takes them. */
template <bool bRedo>
FSoakStep Travel(FSoakContext& Context)
{
    const int32 Depth = 1 + Context.Pick(3);
    return {FString::Printf(bRedo ? "redo %d" : "undo %d", Depth), bRedo ? 0 : Depth, bRedo ? Depth : 0};
}

bool Always(const FHeadlessEditor&)
{
    return true;
}
bool HasTool(const FHeadlessEditor& Editor)
{
    return Editor.GetActiveTool() != nullptr;
}
bool HasIdleSelectionTool(const FHeadlessEditor& Editor)
{
    return PreviewOf(Editor) != nullptr;
}

struct FSoakAction
{
    int32 Weight;
    bool (*CanTake)(const FHeadlessEditor& Editor);
    FSoakStep (*Take)(FSoakContext& Context);
};

const FSoakAction Actions[] = {
    {6, Always, StartTool},     {20, HasIdleSelectionTool, Select},
    {10, HasTool, SetProperty}, {10, HasTool, PressButton},
    {4, HasTool, EndTool},      {2, Always, PickBone},
    {3, Always, EditBone},      {1, Always, Tick},
    {5, Always, Travel<false>}, {3, Always, Travel<true>},
};
} // namespace

FSoakStep TakeRandomAction(FSoakContext& Context)
{
    int32 TotalWeight = 0;
    for (const FSoakAction& Action : Actions)
    {
        TotalWeight += Action.CanTake(Context.Editor) ? Action.Weight : 0;
    }
    int32 Choice = Context.Pick(TotalWeight);
    for (const FSoakAction& Action : Actions)
    {
        if (Action.CanTake(Context.Editor) && (Choice -= Action.Weight) < 0)
        {
            return Action.Take(Context);
        }
    }
    return {};
}
