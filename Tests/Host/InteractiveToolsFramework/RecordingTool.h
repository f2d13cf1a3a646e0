#pragma once

#include "Core/Containers/Array.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolBuilder.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolManager.h"

#include <optional>

/** A tool that records what the framework calls on it. */
VT_CLASS()
class URecordingTool : public UInteractiveTool
{
    VT_BODY(URecordingTool, UInteractiveTool)

public:
    void Setup() override { ++SetupCalls; }
    void OnTick(float DeltaTime) override
    {
        ++TickCalls;
        if (bRequestShutdownOnTick)
        {
            GetToolManager()->PostActiveToolShutdownRequest(this, EToolShutdownType::Completed);
        }
        (void)DeltaTime;
    }
    bool HasAccept() const override { return bHasAccept; }
    void OnPropertyModified(UObject* PropertySet, const FProperty* Property) override
    {
        ModifiedSets.Add(PropertySet);
        ModifiedProperty = Property;
    }

    int32 SetupCalls = 0;
    int32 TickCalls = 0;
    /** Counted by ticks: how many ticks the tool had when it was shut down. */
    int32 TicksAtShutdown = -1;
    std::optional<EToolShutdownType> ShutdownType;
    bool bHasAccept = false;
    bool bRequestShutdownOnTick = false;
    bool bRequestShutdownOnShutdown = false;
    TArray<UObject*> ModifiedSets;
    const FProperty* ModifiedProperty = nullptr;

protected:
    void OnShutdown(EToolShutdownType Type) override
    {
        ShutdownType = Type;
        TicksAtShutdown = TickCalls;
        if (bRequestShutdownOnShutdown)
        {
            GetToolManager()->PostActiveToolShutdownRequest(this, EToolShutdownType::Cancel);
        }
    }
};

/** Builds recording tools, when allowed to. */
VT_CLASS()
class URecordingToolBuilder : public UInteractiveToolBuilder
{
    VT_BODY(URecordingToolBuilder, UInteractiveToolBuilder)

public:
    bool CanBuildTool(const FToolBuilderState& SceneState) const override
    {
        return bCanBuild && SceneState.ToolManager;
    }
    UInteractiveTool* BuildTool(const FToolBuilderState& SceneState) const override
    {
        return NewObject<URecordingTool>(SceneState.ToolManager);
    }

    bool bCanBuild = true;
};
