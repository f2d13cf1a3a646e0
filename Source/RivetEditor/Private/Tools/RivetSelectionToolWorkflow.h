#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Text/Text.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "InteractiveToolsFramework/Tools/ToolMessageLevel.h"
#include "MeshDescription/MeshElementID.h"

class UMeshSelectionTool;
class USkeletalMesh;

/**
 * What the module's selection tools share. Each tool is a builder, a property set whose buttons set
 * a pending request on the tool through its weak ParentTool, and the tool, which consumes the request
 * on its next tick and runs its action:
 *
 *     FRivetMappedSelection Selected;
 *     if (!MapToolSelection(*this, TextNamespace, Selected)) return;      // refusal already shown
 *     FScopedTransaction Transaction(...);                                 // one undo step
 *     Selected.Mesh->Modify(true);
 *     ... run the operation on Selected.TriangleIDs ...
 *     success ? FinishSelectionAction(*this, Result) : RefuseSelectionAction(*this, Reason);
 */

/** The asset a selection tool edits, and the asset's LOD 0 triangles that the selection stands for. */
struct FRivetMappedSelection
{
    USkeletalMesh* Mesh = nullptr;
    TArray<FTriangleID> TriangleIDs;
};

/**
 * The first steps of a selection action: reach the asset, check that the tool has a selection set,
 * and carry the selected preview triangles over to the asset's LOD 0 triangles. When a step fails it
 * shows why at warning level, with texts in the tool's localization namespace, and returns false.
 * Changes nothing either way.
 */
bool MapToolSelection(UMeshSelectionTool& Tool, const FString& TextNamespace, FRivetMappedSelection& Out);

/** Shows a message in the tool manager's message area (notification for hints and results, warning else). */
void ShowToolMessage(const UMeshSelectionTool& Tool, const FText& Message, EToolMessageLevel Level);
/** Names the tool and shows its start hint. */
void StartSelectionTool(UMeshSelectionTool& Tool, const FText& DisplayName, const FText& StartHint);
/** Asks the tool manager to end the tool (completed, without a message) once the current tick is over. */
void EndSelectionTool(UMeshSelectionTool& Tool);
/** Shows the result of a successful action and asks the tool manager to end the tool. */
void FinishSelectionAction(UMeshSelectionTool& Tool, const FText& Result);
/** Shows why the action did nothing; the tool stays active so the user can try again. */
void RefuseSelectionAction(UMeshSelectionTool& Tool, const FText& Reason);

/** Creates the tool's property set, points its ParentTool back at the tool and shows it in the panel. */
template <typename PropertiesType, typename ToolType>
PropertiesType* AddSelectionToolSettings(ToolType& Tool)
{
    PropertiesType* Settings = NewObject<PropertiesType>(&Tool);
    Settings->ParentTool = &Tool;
    Tool.AddToolPropertySource(Settings);
    return Settings;
}
