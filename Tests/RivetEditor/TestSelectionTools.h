#pragma once

#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "RivetEditor/Private/Tools/RivetDeletePolygonsTool.h"

/** A selection tool that records the actions handed to it instead of applying them. */
VT_CLASS()
class UActionRecordingTool : public UMeshSelectionTool
{
    VT_BODY(UActionRecordingTool, UMeshSelectionTool)

public:
    TArray<EMeshSelectionToolActions> Applied;

protected:
    void ApplyAction(EMeshSelectionToolActions Action) override { Applied.Add(Action); }
};

/** The Delete Polygons tool as it would be if the host had made it no selection set. */
VT_CLASS()
class UDeletePolygonsToolWithoutSelection : public URivetDeletePolygonsTool
{
    VT_BODY(UDeletePolygonsToolWithoutSelection, URivetDeletePolygonsTool)

public:
    void Setup() override
    {
        URivetDeletePolygonsTool::Setup();
        Selection = nullptr;
    }
};
