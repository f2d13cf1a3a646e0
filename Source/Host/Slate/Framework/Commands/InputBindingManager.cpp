#include "Slate/Framework/Commands/InputBindingManager.h"

FInputBindingManager& FInputBindingManager::Get()
{
    static FInputBindingManager Manager;
    return Manager;
}

void FInputBindingManager::AddContext(const std::shared_ptr<FBindingContext>& Context)
{
    Contexts.Add(Context->GetContextName(), Context);
}

bool FInputBindingManager::RemoveContextByName(FName ContextName)
{
    CommandsByContext.Remove(ContextName);
    return Contexts.Remove(ContextName) > 0;
}

std::shared_ptr<FBindingContext> FInputBindingManager::GetContextByName(FName ContextName) const
{
    const std::shared_ptr<FBindingContext>* Context = Contexts.Find(ContextName);
    return Context ? *Context : nullptr;
}

TArray<FName> FInputBindingManager::GetContextNames() const
{
    TArray<FName> Names;
    for (const auto& [Name, Context] : Contexts)
    {
        Names.Add(Name);
    }
    return Names;
}

void FInputBindingManager::AddCommand(const std::shared_ptr<FCommandInfo>& Command)
{
    CommandsByContext.FindOrAdd(Command->ContextName).Add(Command);
}

TArray<std::shared_ptr<FCommandInfo>> FInputBindingManager::GetCommandsInContext(FName ContextName) const
{
    const TArray<std::shared_ptr<FCommandInfo>>* Commands = CommandsByContext.Find(ContextName);
    return Commands ? *Commands : TArray<std::shared_ptr<FCommandInfo>>();
}

std::shared_ptr<FCommandInfo> FInputBindingManager::FindCommandInContext(FName ContextName,
                                                                         FName CommandName) const
{
    for (const std::shared_ptr<FCommandInfo>& Command : GetCommandsInContext(ContextName))
    {
        if (Command->CommandName == CommandName)
        {
            return Command;
        }
    }
    return nullptr;
}

std::shared_ptr<FCommandInfo> FInputBindingManager::FindCommandForChord(FName ContextName,
                                                                        const FInputChord& Chord) const
{
    if (!Chord.IsValidChord())
    {
        return nullptr;
    }
    for (const std::shared_ptr<FCommandInfo>& Command : GetCommandsInContext(ContextName))
    {
        if (Command->DefaultChord == Chord || Command->AlternateChord == Chord)
        {
            return Command;
        }
    }
    return nullptr;
}
