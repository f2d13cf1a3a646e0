#include "InteractiveToolsFramework/Tools/InteractiveToolPropertySet.h"

#include "InteractiveToolsFramework/Tools/InteractiveTool.h"

UInteractiveTool* UInteractiveToolPropertySet::GetOwningTool() const
{
    return OwningTool.Get();
}

void UInteractiveToolPropertySet::PostEditChangeProperty(FPropertyChangedEvent& Event)
{
    Super::PostEditChangeProperty(Event);
    if (UInteractiveTool* Tool = OwningTool.Get())
    {
        Tool->OnPropertyModified(this, Event.Property);
    }
}
