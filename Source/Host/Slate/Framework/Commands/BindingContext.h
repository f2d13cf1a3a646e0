#pragma once

#include "Core/Containers/Array.h"
#include "Core/Delegates/MulticastDelegate.h"
#include "Core/Name/Name.h"
#include "Core/Text/Text.h"
#include "Slate/Framework/Commands/CommandInfo.h"

#include <memory>

/**
 * A named group of commands, such as the commands of one editor module. The input binding manager
 * knows contexts by name; a context's commands are made through MakeCommand.
 */
class FBindingContext : public std::enable_shared_from_this<FBindingContext>
{
public:
    FBindingContext(FName InContextName, FText InContextDesc, FName InContextParent, FName InStyleSetName);
    virtual ~FBindingContext() = default;

    FName GetContextName() const { return ContextName; }
    const FText& GetContextDesc() const { return ContextDesc; }
    FName GetContextParent() const { return ContextParent; }
    FName GetStyleSetName() const { return StyleSetName; }
    const TArray<std::shared_ptr<FCommandInfo>>& GetCommands() const { return Commands; }

    /**
     * Makes a command of this context and hands it to the input binding manager. Label and
     * description are given with their localization namespace: the label's key is the command name,
     * the description's the command name followed by "_ToolTip".
     */
    std::shared_ptr<FCommandInfo> MakeCommand(const char* CommandName, const char* Namespace,
                                              const char* Label, const char* Description,
                                              EUserInterfaceActionType ActionType,
                                              const FInputChord& DefaultChord = FInputChord(),
                                              const FInputChord& AlternateChord = FInputChord());

    /** Heard by menus and key bindings whenever a context's commands were registered or removed. */
    static TMulticastDelegate<void()>& CommandsChanged();

private:
    FName ContextName;
    FText ContextDesc;
    FName ContextParent;
    FName StyleSetName;
    TArray<std::shared_ptr<FCommandInfo>> Commands;
};
