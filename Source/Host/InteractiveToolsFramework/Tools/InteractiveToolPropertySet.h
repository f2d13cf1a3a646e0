#pragma once

#include "CoreUObject/Object/UObjectGlobals.h"
#include "CoreUObject/Object/WeakObjectPtr.h"

class UInteractiveTool;

/**
 * A group of a tool's settings, shown as a details panel: its reflected properties are the
 * fields and its CallInEditor functions the buttons. Changes made through the panel are passed
 * on to the tool that shows the set.
 */
VT_CLASS(ToolTip = "A set of tool settings shown in the details panel.")
class UInteractiveToolPropertySet : public UObject
{
    VT_BODY(UInteractiveToolPropertySet, UObject)

public:
    /** The tool that shows this set, or null once that tool is gone. */
    UInteractiveTool* GetOwningTool() const;

    void PostEditChangeProperty(FPropertyChangedEvent& Event) override;

private:
    friend class UInteractiveTool;

    TWeakObjectPtr<UInteractiveTool> OwningTool;
};
