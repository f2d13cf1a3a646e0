#include "Slate/Framework/Commands/BindingContext.h"

#include "Slate/Framework/Commands/InputBindingManager.h"

FBindingContext::FBindingContext(FName InContextName, FText InContextDesc, FName InContextParent,
                                 FName InStyleSetName)
    : ContextName(InContextName), ContextDesc(std::move(InContextDesc)), ContextParent(InContextParent),
      StyleSetName(InStyleSetName)
{
}

std::shared_ptr<FCommandInfo> FBindingContext::MakeCommand(const char* CommandName, const char* Namespace,
                                                           const char* Label, const char* Description,
                                                           EUserInterfaceActionType ActionType,
                                                           const FInputChord& DefaultChord,
                                                           const FInputChord& AlternateChord)
{
    auto Command = std::make_shared<FCommandInfo>();
    Command->CommandName = FName(CommandName);
    Command->ContextName = ContextName;
    Command->Label = FText::MakeLocalized(Namespace, CommandName, Label);
    Command->Description = FText::MakeLocalized(Namespace, FString(CommandName) + "_ToolTip", Description);
    Command->DottedName = FString(".") + CommandName;
    Command->ActionType = ActionType;
    Command->DefaultChord = DefaultChord;
    Command->AlternateChord = AlternateChord;
    Commands.Add(Command);
    FInputBindingManager::Get().AddCommand(Command);
    return Command;
}

TMulticastDelegate<void()>& FBindingContext::CommandsChanged()
{
    static TMulticastDelegate<void()> Delegate;
    return Delegate;
}
