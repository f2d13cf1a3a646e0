#pragma once

#include "Core/Containers/Array.h"
#include "Core/Text/Text.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "InteractiveToolsFramework/Tools/InteractiveTool.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolBuilder.h"
#include "InteractiveToolsFramework/Tools/ToolMessageLevel.h"
#include "InteractiveToolsFramework/Tools/ToolShutdownType.h"

#include <optional>

/** A message a tool showed the user, as the message area and the message history keep it. */
struct FToolMessage
{
    FText Text;
    EToolMessageLevel Level = EToolMessageLevel::UserMessage;
};

/**
 * Runs one tool at a time: starts it from a builder, ticks it every editor frame and ends it.
 * Tools talk to the user through its message display, and ask to be ended through a shutdown
 * request that is carried out once the tick that made it is over.
 */
VT_CLASS(ToolTip = "Runs the active interactive tool.")
class UInteractiveToolManager : public UObject
{
    VT_BODY(UInteractiveToolManager, UObject)

public:
    /**
     * Builds a tool and makes it the active one; the tool that was active ends first (accepted
     * when it has a result to accept, completed otherwise). Returns the new tool, or null when the
     * builder cannot build one for the state, in which case nothing changes.
     */
    UInteractiveTool* BeginTool(UInteractiveToolBuilder* Builder, const FToolBuilderState& State);

    UInteractiveTool* GetActiveTool() const { return ActiveTool; }
    bool HasActiveTool() const { return ActiveTool != nullptr; }

    /** Ticks the active tool, then carries out a shutdown request made before or during the tick. */
    void Tick(float DeltaTime);

    /**
     * Ends the active tool now; nothing happens without one. The ended tool is garbage from then on,
     * so weak references to it (such as its panels' parent tool) go stale.
     */
    void EndTool(EToolShutdownType ShutdownType);

    /** Shows a message in the tool message area and keeps it in the history. */
    void DisplayMessage(const FText& Message, EToolMessageLevel Level);
    /** Every message shown since the manager was made or the history was cleared, oldest first. */
    const TArray<FToolMessage>& GetMessageHistory() const { return MessageHistory; }
    void ClearMessageHistory() { MessageHistory.Reset(); }

    /**
     * Asks for the tool to be ended after the current tick (or the next one, when no tick is
     * running). Only the active tool can be ended; a later request replaces an earlier one. With
     * bShowUnexpectedShutdownMessage the text is shown as a warning, so the user learns why.
     */
    void PostActiveToolShutdownRequest(UInteractiveTool* Tool, EToolShutdownType ShutdownType,
                                       bool bShowUnexpectedShutdownMessage = false,
                                       const FText& UnexpectedShutdownMessage = FText());
    bool HasPendingShutdownRequest() const { return PendingShutdown.has_value(); }

private:
    VT_PROPERTY()
    TObjectPtr<UInteractiveTool> ActiveTool;

    TArray<FToolMessage> MessageHistory;
    std::optional<EToolShutdownType> PendingShutdown;
};
