#pragma once

#include "Core/Misc/Check.h"
#include "Slate/Framework/Commands/BindingContext.h"
#include "Slate/Framework/Commands/InputBindingManager.h"

#include <memory>

/**
 * The base of a module's command set: one process-wide binding context of type CommandSetType,
 * which makes its commands in RegisterCommands.
 *
 *     class FMyCommands : public TCommandSet<FMyCommands> { ... void RegisterCommands() override; };
 *     FMyCommands::Register();   // at module start-up
 *     FMyCommands::Get().MyCommand
 *     FMyCommands::Unregister(); // at shutdown
 */
template <typename CommandSetType>
class TCommandSet : public FBindingContext
{
public:
    using FBindingContext::FBindingContext;

    /** Makes the commands of the set; called once, when the set is first registered. */
    virtual void RegisterCommands() = 0;

    /**
     * Makes the instance unless one exists. When the input binding manager already knows a context
     * of the set's name, that context becomes the instance; otherwise the new instance is added,
     * makes its commands and the commands-changed notification goes out.
     */
    static void Register()
    {
        if (Instance())
        {
            return;
        }
        auto NewInstance = std::make_shared<CommandSetType>();
        if (std::shared_ptr<FBindingContext> Existing =
                FInputBindingManager::Get().GetContextByName(NewInstance->GetContextName()))
        {
            Instance() = std::dynamic_pointer_cast<CommandSetType>(Existing);
            VT_CHECKF(Instance() != nullptr, "binding context '%s' belongs to another command set",
                      *NewInstance->GetContextName().ToString());
            return;
        }
        Instance() = NewInstance;
        FInputBindingManager::Get().AddContext(NewInstance);
        NewInstance->RegisterCommands();
        CommandsChanged().Broadcast();
    }

    /** Removes the set's context from the input binding manager, notifies, and drops the instance. */
    static void Unregister()
    {
        if (!Instance())
        {
            return;
        }
        FInputBindingManager::Get().RemoveContextByName(Instance()->GetContextName());
        CommandsChanged().Broadcast();
        Instance().reset();
    }

    static bool IsRegistered() { return Instance() != nullptr; }

    /** The registered instance; only valid between Register and Unregister. */
    static const CommandSetType& Get()
    {
        VT_CHECKF(Instance() != nullptr, "the command set is not registered");
        return *Instance();
    }

private:
    static std::shared_ptr<CommandSetType>& Instance()
    {
        static std::shared_ptr<CommandSetType> TheInstance;
        return TheInstance;
    }
};
