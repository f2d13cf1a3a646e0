#include "RivetEditor/Private/Ops/RivetDetachOp.h"

#include "Core/Text/LocText.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetEditor/Private/Ops/RivetDeletePolygonsOp.h"
#include "RivetEditor/Private/Ops/RivetMergeSlotsOp.h"
#include "RivetEditorLog.h"

#define VT_LOCTEXT_NAMESPACE "RivetDetachOp"

namespace
{
FText NoMeshText()
{
    return VT_LOCTEXT("NoMesh", "Could not reach the skeletal mesh. Nothing was changed.");
}

/** The mesh's morph targets lose their data for the LOD; later entries move down one place. */
void RemoveMorphTargetLOD(USkeletalMesh& Mesh, int32 LODIndex)
{
    for (const TObjectPtr<UMorphTarget>& MorphTarget : Mesh.GetMorphTargets())
    {
        if (MorphTarget && MorphTarget->GetMorphLODModels().IsValidIndex(LODIndex))
        {
            MorphTarget->Modify(/*bAlwaysMarkDirty=*/false);
            MorphTarget->GetMorphLODModels().RemoveAt(LODIndex);
        }
    }
}

/** Checks that the copy still lines up with the source; the refusal message, or empty when it does. */
FText CheckCopyMatchesSource(const FMeshDescription& Source, const FMeshDescription* Copy,
                             const TArray<FTriangleID>& Remainder)
{
    if (!Copy)
    {
        return VT_LOCTEXT("CopyNoMeshDescription", "The new asset has no LOD0 geometry, so nothing could be "
                                                   "detached into it. Delete the new asset and try again.");
    }
    if (Copy->Triangles().Num() != Source.Triangles().Num())
    {
        return VT_LOCTEXT("CountMismatch", "The new asset does not match the source mesh, so nothing was "
                                           "detached into it. Delete the new asset and try again.");
    }
    if (FindFirstMissingTriangle(*Copy, Remainder).IsSet())
    {
        return VT_LOCTEXT("CopyIDMismatch", "The new asset's geometry does not line up with the source mesh, "
                                            "so nothing was detached into it. Delete the new asset and try "
                                            "again.");
    }
    return FText();
}

/** Empties the mesh's own socket list; answers how many sockets it held. */
int32 ClearMeshOnlySockets(USkeletalMesh& Mesh)
{
    TArray<TObjectPtr<USkeletalMeshSocket>>& Sockets = Mesh.GetMeshOnlySocketList();
    const int32 Count = Sockets.Num();
    Sockets.Empty();
    return Count;
}
} // namespace

FRivetDetachTriangleSets SplitDetachTriangles(const FMeshDescription& Mesh, const TArray<int32>& TriangleIDs)
{
    TArray<uint8> bSelected;
    bSelected.Init(0, Mesh.Triangles().GetArraySize());
    FRivetDetachTriangleSets Sets;
    for (const int32 Value : TriangleIDs)
    {
        const FTriangleID Triangle(Value);
        if (Mesh.Triangles().IsValid(Triangle) && !bSelected[Value])
        {
            bSelected[Value] = 1;
            Sets.Selected.Add(Triangle);
        }
    }
    Sets.Remainder.Reserve(Mesh.Triangles().Num() - Sets.Selected.Num());
    for (const FTriangleID Triangle : Mesh.Triangles().GetElementIDs())
    {
        if (!bSelected[Triangle.GetValue()])
        {
            Sets.Remainder.Add(Triangle);
        }
    }
    return Sets;
}

FTriangleID FindFirstMissingTriangle(const FMeshDescription& Mesh, const TArray<FTriangleID>& Triangles)
{
    for (const FTriangleID Triangle : Triangles)
    {
        if (!Mesh.Triangles().IsValid(Triangle))
        {
            return Triangle;
        }
    }
    return FTriangleID::Invalid();
}

int32 RemoveLODsAfterFirst(USkeletalMesh& Mesh)
{
    int32 Removed = 0;
    for (int32 LODIndex = Mesh.GetLODNum() - 1; LODIndex >= 1; --LODIndex)
    {
        RemoveMorphTargetLOD(Mesh, LODIndex);
        if (FSkeletalMeshImportedModel* Model = Mesh.GetImportedModel();
            Model && Model->LODModels.IsValidIndex(LODIndex))
        {
            Model->LODModels.RemoveAt(LODIndex);
        }
        Mesh.RemoveLODInfo(LODIndex);
        ++Removed;
    }
    return Removed;
}

bool ValidateDetach(const USkeletalMesh* Source, const FRivetDetachParams& Params, FText& OutMessage)
{
    if (!Source)
    {
        OutMessage = NoMeshText();
        return false;
    }
    const FMeshDescription* Description = Source->GetMeshDescription(0);
    if (!Description)
    {
        OutMessage = VT_LOCTEXT("NoMeshDescription", "The mesh has no LOD0 geometry. Nothing was changed.");
        return false;
    }
    const int32 Selected = SplitDetachTriangles(*Description, Params.TriangleIDs).Selected.Num();
    if (Selected == 0)
    {
        OutMessage = VT_LOCTEXT("EmptySelection", "Select at least one polygon first. Nothing was changed.");
        return false;
    }
    if (Selected >= Description->Triangles().Num())
    {
        OutMessage = VT_LOCTEXT("FullSelection",
                                "Selecting every polygon would leave an empty mesh. Nothing was changed.");
        return false;
    }
    return true;
}

FRivetDetachResult DetachSelection(USkeletalMesh* Source, USkeletalMesh* NewAsset, const FRivetDetachParams& Params)
{
    FRivetDetachResult Result;
    if (!ValidateDetach(Source, Params, Result.Message))
    {
        return Result;
    }
    if (!NewAsset)
    {
        Result.Message = NoMeshText();
        return Result;
    }
    if (NewAsset == Source)
    {
        Result.Message = VT_LOCTEXT("SameMesh", "The source mesh and the new asset are the same object, so "
                                                "detaching would corrupt it. Nothing was changed.");
        return Result;
    }
    const FMeshDescription& SourceLOD0 = *Source->GetMeshDescription(0);
    const FRivetDetachTriangleSets Sets = SplitDetachTriangles(SourceLOD0, Params.TriangleIDs);
    Result.Message = CheckCopyMatchesSource(SourceLOD0, NewAsset->GetMeshDescription(0), Sets.Remainder);
    if (!Result.Message.IsEmpty())
    {
        return Result;
    }

    Result.LODsRemoved = RemoveLODsAfterFirst(*NewAsset);
    const int32 DeletedFromCopy = DeletePolygons(NewAsset, Sets.Remainder, Params.bPostEditChange);
    if (DeletedFromCopy != Sets.Remainder.Num())
    {
        Result.Message = VT_LOCTEXT("CopyDeleteFailed", "Could not trim the new mesh. Delete the new asset and "
                                                        "try again.");
        return Result;
    }
    const FRivetSlotCleanupResult Cleanup = RemoveUnusedMaterialSlots(NewAsset, Params.bPostEditChange);
    Result.SlotsRemoved = Cleanup.SlotsRemoved;
    if (!Cleanup.bSuccess)
    {
        Result.Message = FText::Format(
            VT_LOCTEXT("SlotCleanupFailed",
                       "The new asset was created, but its unused material slots could not be cleaned up, so "
                       "it still carries the source mesh's slot bindings. Delete the new asset and try again. "
                       "({0})"),
            Cleanup.Message);
        return Result;
    }
    Result.SocketsCleared = ClearMeshOnlySockets(*NewAsset);
    // The copy must not point at the source's file: reimporting it from there would bring the source back.
    NewAsset->SetSourceFile(nullptr);
    Result.TrianglesMoved = Sets.Selected.Num();

    if (Params.bRemoveFromSource)
    {
        Result.TrianglesRemovedFromSource = DeletePolygons(Source, Sets.Selected, Params.bPostEditChange);
        if (Result.TrianglesRemovedFromSource != Sets.Selected.Num())
        {
            Result.Message = VT_LOCTEXT("SourceDeleteFailed",
                                        "The new asset was created, but the polygons could not be removed "
                                        "from the source mesh. Remove them by hand or delete the new asset.");
            return Result;
        }
    }
    Result.bSuccess = true;
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Detach: %d triangles moved, %d deleted from the copy",
           Result.TrianglesMoved, DeletedFromCopy);
    return Result;
}

#undef VT_LOCTEXT_NAMESPACE
