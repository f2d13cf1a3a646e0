#pragma once

#include "Slate/Framework/Commands/CommandSet.h"

#include <memory>

/** The module's commands, one per tool, in the binding context "RivetEditor". */
class FRivetEditorCommands : public TCommandSet<FRivetEditorCommands>
{
public:
    FRivetEditorCommands();

    void RegisterCommands() override;

    std::shared_ptr<FCommandInfo> BeginAssignMaterialSlotTool;
    std::shared_ptr<FCommandInfo> BeginBakeBoneTransformTool;
    std::shared_ptr<FCommandInfo> BeginDeletePolygonsTool;
    std::shared_ptr<FCommandInfo> BeginDetachTool;
    std::shared_ptr<FCommandInfo> BeginRemeshTool;
};
