#pragma once

#include "Core/Containers/Array.h"
#include "Core/Text/Text.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "CoreUObject/Reflection/Property.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolPropertySet.h"
#include "InteractiveToolsFramework/Tools/ToolShutdownType.h"

class UInteractiveToolManager;

/**
 * A tool the user works with for a while: built by its builder with the tool manager as outer,
 * set up once, ticked every editor frame while active, and shut down once. Its property sets
 * form its panel.
 */
VT_CLASS(ToolTip = "An interactive editing tool.")
class UInteractiveTool : public UObject
{
    VT_BODY(UInteractiveTool, UObject)

public:
    /** Called once when the tool becomes active. */
    virtual void Setup() {}
    /** Called every editor frame while the tool is active. */
    virtual void OnTick(float DeltaTime) { (void)DeltaTime; }
    /** Called once when the tool ends; the manager then drops it. */
    void Shutdown(EToolShutdownType ShutdownType);

    /** Whether the tool has a result to accept, and can be cancelled, rather than just completed. */
    virtual bool HasAccept() const { return false; }
    virtual bool HasCancel() const { return false; }
    virtual bool CanAccept() const { return HasAccept(); }

    /** Shows a property set in the tool's panel; the set's changes reach OnPropertyModified. */
    void AddToolPropertySource(UInteractiveToolPropertySet* PropertySet);
    const TArray<TObjectPtr<UInteractiveToolPropertySet>>& GetToolProperties() const
    {
        return ToolPropertyObjects;
    }

    /** Heard after the user changed a property of one of the tool's property sets. */
    virtual void OnPropertyModified(UObject* PropertySet, const FProperty* Property)
    {
        (void)PropertySet;
        (void)Property;
    }

    /** The manager that runs the tool (its outer), or null for a tool made elsewhere. */
    UInteractiveToolManager* GetToolManager() const;

    const FText& GetToolDisplayName() const { return DisplayName; }
    void SetToolDisplayName(const FText& Name) { DisplayName = Name; }

protected:
    /** The tool's own end: commit on Accept, throw away on Cancel. */
    virtual void OnShutdown(EToolShutdownType ShutdownType) { (void)ShutdownType; }

private:
    VT_PROPERTY()
    TArray<TObjectPtr<UInteractiveToolPropertySet>> ToolPropertyObjects;

    FText DisplayName;
};
