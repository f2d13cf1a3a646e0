#include "RivetEditor/Private/RivetEditorCommands.h"

#include "Core/Text/LocText.h"
#include "Slate/Styling/ApplicationStyle.h"

#define VT_LOCTEXT_NAMESPACE "RivetEditorCommands"

FRivetEditorCommands::FRivetEditorCommands()
    : TCommandSet(FName("RivetEditor"), VT_LOCTEXT("RivetEditorCommands", "Rivet Editor"), NAME_None,
                  FApplicationStyle::GetStyleSetName())
{
}

void FRivetEditorCommands::RegisterCommands()
{
    const auto Make = [this](const char* Name, const char* Label, const char* ToolTip)
    {
        return MakeCommand(Name, VT_LOCTEXT_NAMESPACE, Label, ToolTip,
                           EUserInterfaceActionType::ToggleButton);
    };

    BeginAssignMaterialSlotTool = Make("BeginAssignMaterialSlotTool", "New Slot",
                                       "Assign a new material slot to the selected polygons");
    BeginBakeBoneTransformTool =
        Make("BeginBakeBoneTransformTool", "Bake Bone",
             "Bake the bone transform you changed in the Skeleton Tree into the asset");
    BeginDeletePolygonsTool =
        Make("BeginDeletePolygonsTool", "Delete Polys", "Delete the selected polygons from the asset");
    BeginDetachTool =
        Make("BeginDetachTool", "Detach", "Move the selected polygons into a new skeletal mesh asset");
    BeginRemeshTool =
        Make("BeginRemeshTool", "Remesh", "Rebuild the selected polygons as an even triangle mesh");
}

#undef VT_LOCTEXT_NAMESPACE
