#pragma once

#include "CoreUObject/Object/WeakObjectPtr.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolBuilder.h"

class URivetRemeshTool;

VT_CLASS()
class URivetRemeshToolBuilder : public UMeshSelectionToolBuilder
{
    VT_BODY(URivetRemeshToolBuilder, UMeshSelectionToolBuilder)

public:
    UMeshSelectionTool* CreateNewTool(const FToolBuilderState& SceneState) const override;
};

/** The Remesh panel: the density and passes, the estimated edge length, and the button. */
VT_CLASS()
class URivetRemeshToolProperties : public UInteractiveToolPropertySet
{
    VT_BODY(URivetRemeshToolProperties, UInteractiveToolPropertySet)

public:
    VT_PROPERTY(EditAnywhere, Category = "Remesh", DisplayName = "Density", ClampMin = "0.1", ClampMax = "10.0",
                UIMin = "0.1", UIMax = "10.0",
                ToolTip = "Target edge length = current average edge length x this value.\n1.0 = density "
                          "unchanged, the mesh is only smoothed out.")
    double Density = 1.0;

    VT_PROPERTY(VisibleAnywhere, Category = "Remesh", DisplayName = "Target Edge Length",
                ToolTip = "Estimated target edge length, computed from the selection on the preview\nmesh. The "
                          "value actually used is reported after the operation. It\nrefreshes when the "
                          "selection size or Density changes.")
    float TargetEdgeLength = 0.0f;

    VT_PROPERTY(EditAnywhere, Category = "Remesh", ClampMin = "1", ClampMax = "50", UIMin = "1", UIMax = "50")
    int32 Iterations = 10;

    /** The tool this panel belongs to; set by the tool. */
    TWeakObjectPtr<URivetRemeshTool> ParentTool;

    VT_FUNCTION(CallInEditor = "true", Category = "Remesh", DisplayName = "Remesh Selected Polygons",
                DisplayPriority = "1", ToolTip = "Remeshes the selected polygons into an even mesh.")
    void RemeshNow();
};

/**
 * Remeshes the polygons painted on the preview into an even mesh of the chosen density, as one undo step.
 * While the user paints, the panel shows the edge length the remesh would aim at, measured on the preview
 * whenever the selection's size or the density changes. A successful remesh ends the tool; a refused one
 * leaves it running.
 */
VT_CLASS()
class URivetRemeshTool : public UMeshSelectionTool
{
    VT_BODY(URivetRemeshTool, UMeshSelectionTool)

public:
    void Setup() override;
    void OnTick(float DeltaTime) override;

    /** Asks for the remesh on the next tick; requests before that tick make one remesh. */
    void RequestRemesh() { bPendingRemesh = true; }

    URivetRemeshToolProperties* GetSettings() const { return Settings; }
    /** The preview's average edge length over the selection, as last measured. */
    double GetCachedAverageEdgeLength() const { return CachedAverageEdgeLength; }

protected:
    void AddSubclassPropertySets() override;
    UMeshSelectionToolActionPropertySet* CreateEditActions() override;

private:
    /** Refreshes the panel's Target Edge Length when the selection's size or the density changed. */
    void UpdateEstimate();
    void RemeshSelectedPolygons();

    VT_PROPERTY()
    TObjectPtr<URivetRemeshToolProperties> Settings;

    bool bPendingRemesh = false;
    /** The estimate's inputs when it was last made (-1 before the first) and what it measured. */
    int32 LastSelectionCount = -1;
    double LastDensity = -1.0;
    double CachedAverageEdgeLength = 0.0;
};
