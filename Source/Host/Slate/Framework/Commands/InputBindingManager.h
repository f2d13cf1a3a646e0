#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/Map.h"
#include "Core/Name/Name.h"
#include "Slate/Framework/Commands/BindingContext.h"
#include "Slate/Framework/Commands/CommandInfo.h"

#include <memory>

/**
 * Knows every binding context by name and every command by context, and which command each key
 * chord triggers. Commands are added by their context (FBindingContext::MakeCommand).
 */
class FInputBindingManager
{
public:
    static FInputBindingManager& Get();

    /** Adds the context; a context of the same name is replaced. */
    void AddContext(const std::shared_ptr<FBindingContext>& Context);
    /** Removes the context and its commands; false when no context has that name. */
    bool RemoveContextByName(FName ContextName);
    std::shared_ptr<FBindingContext> GetContextByName(FName ContextName) const;
    TArray<FName> GetContextNames() const;

    void AddCommand(const std::shared_ptr<FCommandInfo>& Command);
    /** The commands of a context in the order they were made. */
    TArray<std::shared_ptr<FCommandInfo>> GetCommandsInContext(FName ContextName) const;
    std::shared_ptr<FCommandInfo> FindCommandInContext(FName ContextName, FName CommandName) const;
    /** The command of the context that a chord triggers, by default or alternate chord. */
    std::shared_ptr<FCommandInfo> FindCommandForChord(FName ContextName, const FInputChord& Chord) const;

private:
    FInputBindingManager() = default;

    TMap<FName, std::shared_ptr<FBindingContext>> Contexts;
    TMap<FName, TArray<std::shared_ptr<FCommandInfo>>> CommandsByContext;
};
