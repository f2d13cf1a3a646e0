#include "InteractiveToolsFramework/Tools/InteractiveToolManager.h"

#include "InteractiveToolsFramework/Logging/LogInteractiveTools.h"

UInteractiveTool* UInteractiveToolManager::BeginTool(UInteractiveToolBuilder* Builder,
                                                     const FToolBuilderState& State)
{
    if (!Builder || !Builder->CanBuildTool(State))
    {
        return nullptr;
    }
    if (ActiveTool)
    {
        EndTool(ActiveTool->HasAccept() ? EToolShutdownType::Accept : EToolShutdownType::Completed);
    }
    UInteractiveTool* Tool = Builder->BuildTool(State);
    if (!Tool)
    {
        return nullptr;
    }
    ActiveTool = Tool;
    Tool->Setup();
    VT_LOG(LogInteractiveTools, Verbose, "Started tool %s", *Tool->GetName());
    return Tool;
}

void UInteractiveToolManager::Tick(float DeltaTime)
{
    if (ActiveTool)
    {
        ActiveTool->OnTick(DeltaTime);
    }
    if (PendingShutdown)
    {
        const EToolShutdownType ShutdownType = *PendingShutdown;
        PendingShutdown.reset();
        EndTool(ShutdownType);
    }
}

void UInteractiveToolManager::EndTool(EToolShutdownType ShutdownType)
{
    UInteractiveTool* Tool = ActiveTool;
    if (!Tool)
    {
        return;
    }
    // The tool is no longer active while it shuts down, so a shutdown request it makes then is ignored.
    ActiveTool = nullptr;
    PendingShutdown.reset();
    Tool->Shutdown(ShutdownType);
    Tool->MarkAsGarbage();
    VT_LOG(LogInteractiveTools, Verbose, "Ended tool %s (%d)", *Tool->GetName(),
           static_cast<int32>(ShutdownType));
}

void UInteractiveToolManager::DisplayMessage(const FText& Message, EToolMessageLevel Level)
{
    MessageHistory.Add(FToolMessage{Message, Level});
    VT_LOG(LogInteractiveTools, Verbose, "Message (%d): %s", static_cast<int32>(Level), *Message.ToString());
}

void UInteractiveToolManager::PostActiveToolShutdownRequest(UInteractiveTool* Tool,
                                                            EToolShutdownType ShutdownType,
                                                            bool bShowUnexpectedShutdownMessage,
                                                            const FText& UnexpectedShutdownMessage)
{
    if (!Tool || Tool != ActiveTool)
    {
        return;
    }
    if (bShowUnexpectedShutdownMessage)
    {
        DisplayMessage(UnexpectedShutdownMessage, EToolMessageLevel::UserWarning);
    }
    PendingShutdown = ShutdownType;
}
