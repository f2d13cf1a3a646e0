#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/Map.h"
#include "Core/Containers/Set.h"
#include "Core/Misc/Check.h"
#include "Core/Modules/ModuleInterface.h"
#include "Core/Name/Name.h"

#include <memory>
#include <mutex>
#include <type_traits>

/**
 * Knows every module by name and owns the ones that are loaded. Modules register themselves
 * with VT_IMPLEMENT_MODULE (Core/Modules/ModuleRegistrar.h) during static initialization;
 * they are made and started on first load.
 */
class FModuleManager
{
public:
    using FModuleFactory = std::unique_ptr<IModuleInterface> (*)();

    /** The one manager. Usable during static initialization. */
    static FModuleManager& Get();

    /** Makes a module known. Registering a name twice is an error. */
    void RegisterModule(FName ModuleName, FModuleFactory Factory);
    bool IsModuleRegistered(FName ModuleName) const;
    /** The registered modules, in registration order. */
    TArray<FName> GetModuleNames() const;

    /**
     * The module, made and started if it was not loaded yet. An unknown name gives null and a
     * warning. A module may load other modules from StartupModule.
     */
    IModuleInterface* LoadModule(FName ModuleName);
    template <typename ModuleType>
    ModuleType& LoadModuleChecked(FName ModuleName);

    /** The module if it is loaded, else null; never loads. */
    IModuleInterface* GetModule(FName ModuleName) const;
    /** The module if it is loaded and is a ModuleType, else null; never loads. */
    template <typename ModuleType>
    ModuleType* GetModulePtr(FName ModuleName) const;
    bool IsModuleLoaded(FName ModuleName) const { return GetModule(ModuleName) != nullptr; }

    /** Shuts the module down and destroys it; false when it was not loaded. */
    bool UnloadModule(FName ModuleName);
    /** Unloads every module, the last one started first. */
    void UnloadModulesAtShutdown();

private:
    FModuleManager() = default;

    mutable std::recursive_mutex Mutex;
    TMap<FName, FModuleFactory> Factories;
    TMap<FName, std::unique_ptr<IModuleInterface>> Modules;
    /** Loaded modules in the order their StartupModule returned. */
    TArray<FName> StartupOrder;
    /** Modules whose ShutdownModule is running; unloading one of them again does nothing. */
    TSet<FName> Unloading;
};

template <typename ModuleType>
ModuleType& FModuleManager::LoadModuleChecked(FName ModuleName)
{
    static_assert(std::is_base_of_v<IModuleInterface, ModuleType>);
    ModuleType* Module = dynamic_cast<ModuleType*>(LoadModule(ModuleName));
    VT_CHECKF(Module != nullptr, "module '%s' is unknown or of another type", ModuleName.GetPlainName());
    return *Module;
}

template <typename ModuleType>
ModuleType* FModuleManager::GetModulePtr(FName ModuleName) const
{
    static_assert(std::is_base_of_v<IModuleInterface, ModuleType>);
    return dynamic_cast<ModuleType*>(GetModule(ModuleName));
}
