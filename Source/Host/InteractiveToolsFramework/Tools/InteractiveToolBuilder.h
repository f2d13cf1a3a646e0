#pragma once

#include "Core/Containers/Array.h"
#include "CoreUObject/Object/UObjectGlobals.h"

class UInteractiveTool;
class UInteractiveToolManager;
class UToolTarget;
class UWorld;

/** What a builder is given: the scene, the manager that will run the tool, and what it is to work on. */
struct FToolBuilderState
{
    UWorld* World = nullptr;
    UInteractiveToolManager* ToolManager = nullptr;
    TArray<UToolTarget*> Targets;
};

/** Makes one kind of tool, once the scene state allows it. */
VT_CLASS(ToolTip = "Makes tools of one kind.")
class UInteractiveToolBuilder : public UObject
{
    VT_BODY(UInteractiveToolBuilder, UObject)

public:
    /** Whether a tool can be built for the state; false by default. */
    virtual bool CanBuildTool(const FToolBuilderState& SceneState) const
    {
        (void)SceneState;
        return false;
    }
    /** A new tool for the state, with the state's tool manager as outer; null when none can be built. */
    virtual UInteractiveTool* BuildTool(const FToolBuilderState& SceneState) const
    {
        (void)SceneState;
        return nullptr;
    }
};
