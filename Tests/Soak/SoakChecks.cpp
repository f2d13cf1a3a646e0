#include "Soak/SoakChecks.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "Interchange/Interchange.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "RivetEditor/Private/Ops/RivetSlotUsage.h"
#include "Soak/SoakActions.h"
#include "Support/TestFiles.h"
#include "VantorEd/Assets/AssetRegistry.h"

namespace
{
/** The names of the parts that differ. */
using FDifferences = TArray<FString>;

template <typename T>
void Compare(FDifferences& Out, const char* Part, const T& Expected, const T& Actual)
{
    if (!(Expected == Actual))
    {
        Out.Add(Part);
    }
}

void CompareAssets(FDifferences& Out, const FSkeletalAssetSnapshot& Expected,
                   const FSkeletalAssetSnapshot& Actual)
{
    const FSkeletalMeshSnapshot& A = Expected.MeshSnapshot;
    const FSkeletalMeshSnapshot& B = Actual.MeshSnapshot;
    Compare(Out, "LOD descriptions", A.Descriptions, B.Descriptions);
    Compare(Out, "LOD settings (material maps)", A.LODInfos, B.LODInfos);
    Compare(Out, "material slots", A.Materials, B.Materials);
    Compare(Out, "imported model", A.ImportedModel, B.ImportedModel);
    Compare(Out, "morph targets", A.MorphTargets, B.MorphTargets);
    Compare(Out, "reference skeleton", A.RefSkeleton, B.RefSkeleton);
    Compare(Out, "inverse reference matrices", A.RefBasesInvMatrix, B.RefBasesInvMatrix);
    Compare(Out, "mesh sockets", A.Sockets, B.Sockets);
    Compare(Out, "imported bounds", A.ImportedBounds, B.ImportedBounds);
    Compare(Out, "derived-data key", A.DerivedDataKey, B.DerivedDataKey);
    Compare(Out, "skeleton bones", Expected.SkeletonBones, Actual.SkeletonBones);
    Compare(Out, "skeleton retargeting modes", Expected.BoneTree, Actual.BoneTree);
    Compare(Out, "skeleton sockets", Expected.SkeletonSockets, Actual.SkeletonSockets);
    Compare(Out, "physics bodies", Expected.BodyBones, Actual.BodyBones);
    Compare(Out, "physics shapes", Expected.BodyShapes, Actual.BodyShapes);
    Compare(Out, "physics constraints", Expected.Constraints, Actual.Constraints);
    Compare(Out, "animation keys", Expected.AnimationKeyCounts, Actual.AnimationKeyCounts);
    Compare(Out, "animation tracks", Expected.AnimationTracks, Actual.AnimationTracks);
}

/** The object paths of the skeletal meshes the asset registry lists, sorted. */
TArray<FString> ListSkeletalMeshes()
{
    TArray<FAssetData> Assets;
    FAssetRegistry::Get().GetAssetsByClass(USkeletalMesh::StaticClass(), Assets);
    TArray<FString> Paths;
    for (const FAssetData& Asset : Assets)
    {
        Paths.Add(Asset.GetObjectPathString());
    }
    Paths.Sort();
    return Paths;
}

/** Every used LOD 0 polygon group and every render section draws with a slot that exists. */
void CheckSlotBindings(const USkeletalMesh& Mesh, const FRivetSlotUsage& Usage, TArray<FString>& OutFindings)
{
    const int32 NumSlots = Mesh.GetMaterials().Num();
    for (int32 Group = 0; Group < Usage.bGroupUsed.Num(); ++Group)
    {
        const int32 Slot = Usage.SlotOfGroup(Group);
        if (Usage.IsGroupUsed(Group) && (Slot < 0 || Slot >= NumSlots))
        {
            OutFindings.Add(
                FString::Printf("LOD 0 polygon group %d draws with slot %d of %d", Group, Slot, NumSlots));
        }
    }
    for (int32 LOD = 0; LOD < Mesh.GetImportedModel()->LODModels.Num(); ++LOD)
    {
        for (const int32 Slot : FindSectionSlots(Mesh, LOD))
        {
            if (Slot < 0 || Slot >= NumSlots)
            {
                OutFindings.Add(
                    FString::Printf("a LOD %d section draws with slot %d of %d", LOD, Slot, NumSlots));
            }
        }
    }
}

/** LOD 0's render sections are built from its description: one per used group, every triangle drawn. */
void CheckRenderSections(const USkeletalMesh& Mesh, const FMeshDescription& LOD0, int32 UsedGroups,
                         TArray<FString>& OutFindings)
{
    const TArray<FImportedLODModel>& Models = Mesh.GetImportedModel()->LODModels;
    if (Models.IsEmpty())
    {
        OutFindings.Add("the imported model has no LOD 0");
        return;
    }
    int32 Drawn = 0;
    for (const FImportedSection& Section : Models[0].Sections)
    {
        Drawn += Section.NumTriangles;
    }
    if (Drawn != LOD0.Triangles().Num() || Models[0].Sections.Num() != UsedGroups)
    {
        OutFindings.Add(
            FString::Printf("LOD 0 draws %d triangles in %d sections; its description has %d in %d groups",
                            Drawn, Models[0].Sections.Num(), LOD0.Triangles().Num(), UsedGroups));
    }
}

void CheckMeshSoundness(const USkeletalMesh& Mesh, const FString& Prefix, TArray<FString>& OutFindings)
{
    for (int32 LOD = 0; LOD < Mesh.GetLODNum(); ++LOD)
    {
        const FMeshDescription* Description = Mesh.GetMeshDescription(LOD);
        TArray<FString> Problems;
        if (Description && !Description->CheckConsistency(&Problems))
        {
            OutFindings.Add(
                FString::Printf("%sLOD %d description: %s", *Prefix, LOD, *FString::Join(Problems, "; ")));
        }
    }
    if (const FMeshDescription* LOD0 = Mesh.GetMeshDescription(0))
    {
        TArray<FString> Problems;
        const FRivetSlotUsage Usage = ReadSlotUsage(Mesh, *LOD0);
        CheckSlotBindings(Mesh, Usage, Problems);
        CheckRenderSections(Mesh, *LOD0, Usage.NumUsedGroups, Problems);
        for (const FString& Problem : Problems)
        {
            OutFindings.Add(Prefix + Problem);
        }
    }
}

/** An animation's tracks by bone name: a file holds them in the order of its nodes. */
void SortTracksByName(FSkeletalAssetSnapshot& Snapshot)
{
    for (TArray<FAnimationBoneTrack>& Tracks : Snapshot.AnimationTracks)
    {
        Tracks.Sort([](const FAnimationBoneTrack& A, const FAnimationBoneTrack& B)
                    { return A.Name.ToString() < B.Name.ToString(); });
    }
}
} // namespace

FSoakState::FSoakState(const FSoakAsset& InAsset)
    : Asset(*InAsset.Mesh, InAsset.Animations), SkeletalMeshes(ListSkeletalMeshes())
{
}

FString DescribeDifferences(const FSoakState& Expected, const FSoakState& Actual)
{
    FDifferences Differences;
    CompareAssets(Differences, Expected.Asset, Actual.Asset);
    Compare(Differences, "skeletal mesh assets", Expected.SkeletalMeshes, Actual.SkeletalMeshes);
    return FString::Join(Differences, ", ");
}

void CheckSoundness(const FHeadlessEditor& Editor, const FSoakAsset& Asset,
                    const TArray<FString>& MeshesBefore, TArray<FString>& OutFindings)
{
    CheckMeshSoundness(*Asset.Mesh, "", OutFindings);
    for (const FString& Path : ListSkeletalMeshes())
    {
        const USkeletalMesh* Part =
            Cast<USkeletalMesh>(FAssetRegistry::Get().GetAssetByObjectPath(Path).GetAsset());
        if (Part && Part != Asset.Mesh && !MeshesBefore.Contains(Path))
        {
            CheckMeshSoundness(*Part, Path + ": ", OutFindings);
        }
    }
    const UMeshSelectionTool* Tool = Editor.GetSelectionTool();
    TArray<FString> Problems;
    if (Tool && Tool->GetPreviewMesh() && !Tool->GetPreviewMesh()->GetMesh()->CheckValidity(&Problems))
    {
        OutFindings.Add("preview mesh: " + FString::Join(Problems, "; "));
    }
}

void CheckFileRoundTrip(const FSoakAsset& Asset, const FTestFolder& Folder, TArray<FString>& OutFindings)
{
    // A read names the asset after its file.
    const FString Path = Folder.File(*(Asset.Mesh->GetName() + ".glb"));
    const FInterchangeWriteResult Written =
        ExportSkeletalMeshToGltf(*Asset.Mesh, Path, {.Animations = Asset.Animations});
    if (!Written.bSuccess)
    {
        OutFindings.Add("save: " + Written.Error);
        return;
    }
    const FScopedPackageRelease ReadBack;
    const FInterchangeResult Read = ImportSkinnedMeshFile(Path);
    if (!Read.bSuccess)
    {
        OutFindings.Add("read back: " + Read.Error);
        return;
    }
    TArray<FString> ExpectedNames;
    TArray<FString> ActualNames;
    FSkeletalAssetSnapshot Expected = SnapshotFileContent(*Asset.Mesh, Asset.Animations, ExpectedNames);
    FSkeletalAssetSnapshot Actual = SnapshotFileContent(*Read.Mesh, Read.Animations, ActualNames);
    SortTracksByName(Expected);
    SortTracksByName(Actual);
    // A read numbers anew what the file does not hold (edges); the bytes written again check the geometry.
    Actual.MeshSnapshot.Descriptions = Expected.MeshSnapshot.Descriptions;
    FDifferences Differences;
    // The file holds the skeleton as the mesh's bones, without a reference pose of its own.
    Compare(Differences, "skeleton bone hierarchy", Expected.SkeletonBones.GetRawRefBoneInfo(),
            Actual.SkeletonBones.GetRawRefBoneInfo());
    Actual.SkeletonBones = Expected.SkeletonBones;
    CompareAssets(Differences, Expected, Actual);
    Compare(Differences, "material and animation names", ExpectedNames, ActualNames);
    if (const FString Parts = FString::Join(Differences, ", "); !Parts.IsEmpty())
    {
        OutFindings.Add("the saved file reads back with other " + Parts);
    }
    const FString Again = Folder.File(*("again-" + Asset.Mesh->GetName() + ".glb"));
    if (!SavePackageToFile(*Read.Package, Again).bSuccess || ReadBytes(Again) != ReadBytes(Path))
    {
        OutFindings.Add("the read-back asset is not written as the same bytes again");
    }
}
