#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"

#include "Core/Text/LocText.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/Selections/MeshSelectionEdits.h"
#include "GeometryCore/Selections/TriangleSelectionOps.h"
#include "InteractiveToolsFramework/ToolTargets/SkeletalMeshBackedTarget.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolManager.h"
#include "MeshConversion/DynamicMeshToMeshDescription.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#define VT_LOCTEXT_NAMESPACE "MeshSelectionTool"

namespace
{
constexpr EMeshSelectionElementType Faces = EMeshSelectionElementType::Face;

/** The actions that change only the selection are numbered below the geometry edits. */
bool IsSelectionAction(EMeshSelectionToolActions Action)
{
    return static_cast<int32>(Action) < static_cast<int32>(EMeshSelectionToolActions::Delete);
}
} // namespace

void UMeshSelectionTool::Setup()
{
    PreviewMesh = NewObject<UPreviewMesh>(this);
    if (USkeletalMesh* Mesh = GetTargetSkeletalMesh())
    {
        SourceDerivedDataKey = Mesh->GetDerivedDataKey();
        if (const FMeshDescription* Description = Mesh->GetMeshDescription(0))
        {
            FDynamicMesh3 Converted;
            FMeshDescriptionToDynamicMesh().Convert(*Description, Converted);
            PreviewMesh->UpdatePreview(std::move(Converted));
        }
    }
    Selection = NewObject<UMeshSelectionSet>(this);

    AddSubclassPropertySets();
    EditActions = CreateEditActions();
    if (EditActions)
    {
        AddToolPropertySource(EditActions);
    }
}

void UMeshSelectionTool::OnTick(float DeltaTime)
{
    Super::OnTick(DeltaTime);
    if (HasPendingAction())
    {
        const EMeshSelectionToolActions Action = PendingAction;
        PendingAction = EMeshSelectionToolActions::NoAction;
        ApplyAction(Action);
    }
}

void UMeshSelectionTool::RequestAction(EMeshSelectionToolActions Action)
{
    if (!HasPendingAction())
    {
        PendingAction = Action;
    }
}

void UMeshSelectionTool::ApplyAction(EMeshSelectionToolActions Action)
{
    if (IsSelectionAction(Action))
    {
        ApplySelectionAction(Action);
    }
    else
    {
        ApplyGeometryAction(Action);
    }
}

void UMeshSelectionTool::ApplySelectionAction(EMeshSelectionToolActions Action)
{
    const FDynamicMesh3& Mesh = *PreviewMesh->GetMesh();
    const TArray<int32>& Selected = Selection->GetElements(Faces);
    switch (Action)
    {
        case EMeshSelectionToolActions::SelectAll:
            Selection->SetIndices(Faces, TriangleSelectionOps::SelectAll(Mesh));
            break;
        case EMeshSelectionToolActions::ClearSelection:
            Selection->Clear(Faces);
            break;
        case EMeshSelectionToolActions::InvertSelection:
            Selection->SetIndices(Faces, TriangleSelectionOps::Invert(Mesh, Selected));
            break;
        case EMeshSelectionToolActions::GrowSelection:
            Selection->SetIndices(Faces, TriangleSelectionOps::Grow(Mesh, Selected));
            break;
        case EMeshSelectionToolActions::ShrinkSelection:
            Selection->SetIndices(Faces, TriangleSelectionOps::Shrink(Mesh, Selected));
            break;
        case EMeshSelectionToolActions::ExpandToConnected:
            Selection->SetIndices(Faces, TriangleSelectionOps::ExpandToConnected(Mesh, Selected));
            break;
        default:
            break;
    }
}

void UMeshSelectionTool::ApplyGeometryAction(EMeshSelectionToolActions Action)
{
    const TArray<int32>& Selected = Selection->GetElements(Faces);
    bool bChanged = false;
    PreviewMesh->EditMesh(
        [&](FDynamicMesh3& Mesh)
        {
            switch (Action)
            {
                case EMeshSelectionToolActions::Delete:
                    bChanged = DeleteSelectedTriangles(Mesh, Selected) > 0;
                    break;
                case EMeshSelectionToolActions::Disconnect:
                    bChanged = DisconnectSelectedTriangles(Mesh, Selected) > 0;
                    break;
                case EMeshSelectionToolActions::FlipNormals:
                    bChanged = FlipSelectedTriangleNormals(Mesh, Selected) > 0;
                    break;
                case EMeshSelectionToolActions::CreatePolygroup:
                    // Polygroups live on the preview only: the asset's polygon groups are its material
                    // sections.
                    CreatePolygroupForSelection(Mesh, Selected);
                    break;
                case EMeshSelectionToolActions::SmoothBorder:
                    bChanged = SmoothSelectionBorder(Mesh, Selected) > 0;
                    break;
                default:
                    break;
            }
        });
    if (Action == EMeshSelectionToolActions::Delete)
    {
        Selection->Clear(Faces);
    }
    bHaveModifiedGeometry |= bChanged;
}

void UMeshSelectionTool::OnShutdown(EToolShutdownType ShutdownType)
{
    if (ShutdownType == EToolShutdownType::Accept && bHaveModifiedGeometry)
    {
        WriteBackToAsset();
    }
}

void UMeshSelectionTool::WriteBackToAsset()
{
    USkeletalMesh* Mesh = GetTargetSkeletalMesh();
    if (!Mesh || !Mesh->GetMeshDescription(0))
    {
        return;
    }
    if (Mesh->GetDerivedDataKey() != SourceDerivedDataKey)
    {
        WarnNotWrittenBack(VT_LOCTEXT("AssetChangedWhileEditing", "The selection edits were not written back: "
                                                                  "the mesh changed while the tool was open."));
        return;
    }
    if (PreviewMesh->GetMesh()->TriangleCount() == 0)
    {
        // A LOD 0 without triangles makes the asset invalid, as the delete tools say when they refuse.
        WarnNotWrittenBack(VT_LOCTEXT("EmptyMeshNotWrittenBack",
                                      "The selection edits were not written back: they delete every polygon, "
                                      "which would leave an empty mesh."));
        return;
    }
    FScopedTransaction Transaction(VT_LOCTEXT("EditSelectionTransaction", "Edit Mesh Selection"));
    Mesh->Modify();
    Mesh->ModifyMeshDescription(0);
    FDynamicMeshToMeshDescription().Convert(*PreviewMesh->GetMesh(), *Mesh->GetMeshDescription(0));
    FCommitMeshDescriptionParams Params;
    Params.bRecomputeNormals = false;
    Mesh->CommitMeshDescription(0, Params);
    Mesh->PostEditChange();
}

void UMeshSelectionTool::WarnNotWrittenBack(const FText& Reason)
{
    if (UInteractiveToolManager* Manager = GetToolManager())
    {
        Manager->DisplayMessage(Reason, EToolMessageLevel::UserWarning);
    }
}

USkeletalMesh* UMeshSelectionTool::GetTargetSkeletalMesh() const
{
    const USkeletalMeshBackedTarget* MeshTarget = Cast<USkeletalMeshBackedTarget>(Target.Get());
    return MeshTarget ? MeshTarget->GetSkeletalMesh() : nullptr;
}

#undef VT_LOCTEXT_NAMESPACE
