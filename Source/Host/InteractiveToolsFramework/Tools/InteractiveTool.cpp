#include "InteractiveToolsFramework/Tools/InteractiveTool.h"

#include "InteractiveToolsFramework/Tools/InteractiveToolManager.h"

void UInteractiveTool::Shutdown(EToolShutdownType ShutdownType)
{
    OnShutdown(ShutdownType);
}

void UInteractiveTool::AddToolPropertySource(UInteractiveToolPropertySet* PropertySet)
{
    if (!PropertySet || ToolPropertyObjects.Contains(PropertySet))
    {
        return;
    }
    PropertySet->OwningTool = this;
    ToolPropertyObjects.Add(PropertySet);
}

UInteractiveToolManager* UInteractiveTool::GetToolManager() const
{
    return Cast<UInteractiveToolManager>(GetOuter());
}
