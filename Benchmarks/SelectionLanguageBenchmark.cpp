// The command-line editor's selection language painting onto a tool's preview of skinned grids of a
// quarter, one and four million triangles: a material slot, a bone's weighted region, a box, a connected
// island, and growing a painted half through the selection tool's own action.

#include "CoreUObject/Object/Package.h"
#include "Engine/Animation/ReferenceSkeleton.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "RivetCli/Selection/SelectionPainter.h"
#include "RivetEditorModuleName.h"
#include "Support/BenchmarkTable.h"
#include "Support/GridMeshes.h"

#include <memory>

namespace
{
/** The grid's influences name bones 0 to 63. */
constexpr int32 NumBones = 64;

FReferenceSkeleton MakeBones()
{
    FReferenceSkeleton Bones;
    FReferenceSkeletonModifier Modifier(Bones, nullptr);
    Modifier.Add({FName("Root"), INDEX_NONE}, FTransform::Identity);
    for (int32 Bone = 1; Bone < NumBones; ++Bone)
    {
        Modifier.Add({FName(FString::Printf("Bone_%d", Bone)), 0}, FTransform::Identity);
    }
    return Bones;
}

/** A skeletal mesh whose LOD 0 is the grid of that size, with a slot per group and the grid's bones. */
USkeletalMesh* MakeGridAsset(int32 Quads)
{
    USkeletalMesh* Mesh = NewObject<USkeletalMesh>(GetTransientPackage());
    Mesh->SetRefSkeleton(MakeBones());
    for (int32 Slot = 0; Slot < GridOptions(Quads).NumGroups; ++Slot)
    {
        const FName Name(FString::Printf("Slot_%d", Slot));
        Mesh->GetMaterials().Add(FSkeletalMaterial(nullptr, Name, Name));
    }
    Mesh->AddLODInfo();
    Mesh->CreateMeshDescription(0, FMeshDescription(GridMesh(Quads)));
    Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    return Mesh;
}

/** The editor with the Delete Polygons tool running on the grid of that size; remade when the size changes.
 */
FHeadlessEditor& EditorOnGrid(int32 Quads)
{
    static std::unique_ptr<FHeadlessEditor> Editor;
    static int32 EditorQuads = 0;
    if (EditorQuads != Quads)
    {
        Editor.reset();
        Editor = std::make_unique<FHeadlessEditor>(TArray<FName>{RivetEditorModuleName});
        Editor->OpenAsset(MakeGridAsset(Quads));
        Editor->StartTool("Delete Polygons");
        EditorQuads = Quads;
    }
    return *Editor;
}

TArray<FSelectionTerm> ParseTerms(std::initializer_list<const char*> Texts)
{
    TArray<FSelectionTerm> Terms;
    FString Error;
    for (const char* Text : Texts)
    {
        VT_CHECKF(ParseSelectionTerm(Text, Terms[Terms.AddDefaulted()], Error), "%s", *Error);
    }
    return Terms;
}

/** Paints the terms on an empty selection each time (clearing it is not timed). */
void Paint(benchmark::State& State, std::initializer_list<const char*> Texts)
{
    FHeadlessEditor& Editor = EditorOnGrid(static_cast<int32>(State.range(0)));
    UMeshSelectionSet* Selection = Editor.GetSelectionTool()->GetSelection();
    const TArray<FSelectionTerm> Terms = ParseTerms(Texts);
    FString Error;
    for (auto _ : State)
    {
        State.PauseTiming();
        Selection->ClearAll();
        State.ResumeTiming();
        VT_CHECKF(PaintSelection(Editor, Terms, Error), "%s", *Error);
    }
}

void PaintSlot(benchmark::State& State)
{
    Paint(State, {"slot:Slot_1"});
}

void PaintBone(benchmark::State& State)
{
    Paint(State, {"bone:Bone_5:0.2"});
}

void PaintBox(benchmark::State& State)
{
    Paint(State, {"box:0,0,-1,100000,100000,1"});
}

void PaintIsland(benchmark::State& State)
{
    Paint(State, {"island:0"});
}

/** Half of the grid by its slots, then one ring more through the tool's Grow action. */
void PaintHalfAndGrow(benchmark::State& State)
{
    Paint(State, {"slot:0", "slot:1", "grow"});
}
} // namespace

BENCHMARK(PaintSlot)->Apply(GridSizes);
BENCHMARK(PaintBone)->Apply(GridSizes);
BENCHMARK(PaintBox)->Apply(GridSizes);
BENCHMARK(PaintIsland)->Apply(GridSizes);
BENCHMARK(PaintHalfAndGrow)->Apply(GridSizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarkTable(ArgCount, Args, GridMesh);
}
