#include "Core/Modules/ModuleManager.h"

#include "Core/Logging/LogMacros.h"

FModuleManager& FModuleManager::Get()
{
    // Never destroyed: modules are unloaded explicitly, and registration may come first.
    static FModuleManager& Instance = *new FModuleManager();
    return Instance;
}

void FModuleManager::RegisterModule(FName ModuleName, FModuleFactory Factory)
{
    VT_CHECK(!ModuleName.IsNone() && Factory != nullptr);
    std::scoped_lock Lock(Mutex);
    VT_CHECKF(!Factories.Contains(ModuleName), "module '%s' is registered twice", ModuleName.GetPlainName());
    Factories.Add(ModuleName, Factory);
}

bool FModuleManager::IsModuleRegistered(FName ModuleName) const
{
    std::scoped_lock Lock(Mutex);
    return Factories.Contains(ModuleName);
}

TArray<FName> FModuleManager::GetModuleNames() const
{
    std::scoped_lock Lock(Mutex);
    return Factories.GetKeys();
}

IModuleInterface* FModuleManager::LoadModule(FName ModuleName)
{
    std::scoped_lock Lock(Mutex);
    if (IModuleInterface* Loaded = GetModule(ModuleName))
    {
        return Loaded;
    }
    const FModuleFactory Factory = Factories.FindRef(ModuleName);
    if (!Factory)
    {
        VT_LOG(LogCore, Warning, "Cannot load unknown module '%s'", ModuleName.GetPlainName());
        return nullptr;
    }
    // Known as loaded before it starts, so that a module loading itself does not start twice.
    IModuleInterface* Module = Modules.Add(ModuleName, Factory()).get();
    VT_CHECKF(Module != nullptr, "module '%s' made no object", ModuleName.GetPlainName());
    Module->StartupModule();
    if (GetModule(ModuleName) != Module)
    {
        return nullptr; // it was unloaded while starting up
    }
    StartupOrder.Add(ModuleName);
    return Module;
}

IModuleInterface* FModuleManager::GetModule(FName ModuleName) const
{
    std::scoped_lock Lock(Mutex);
    const std::unique_ptr<IModuleInterface>* Module = Modules.Find(ModuleName);
    return Module ? Module->get() : nullptr;
}

bool FModuleManager::UnloadModule(FName ModuleName)
{
    std::scoped_lock Lock(Mutex);
    IModuleInterface* Module = GetModule(ModuleName);
    if (!Module || Unloading.Contains(ModuleName))
    {
        return false;
    }
    Unloading.Add(ModuleName);
    Module->ShutdownModule();
    Unloading.Remove(ModuleName);
    StartupOrder.Remove(ModuleName);
    // ShutdownModule may have unloaded other modules, so look the module up again.
    if (std::unique_ptr<IModuleInterface>* Owned = Modules.Find(ModuleName); Owned && Owned->get() == Module)
    {
        const std::unique_ptr<IModuleInterface> Doomed = std::move(*Owned);
        Modules.Remove(ModuleName);
    }
    return true;
}

void FModuleManager::UnloadModulesAtShutdown()
{
    std::scoped_lock Lock(Mutex);
    while (!StartupOrder.IsEmpty())
    {
        UnloadModule(StartupOrder.Last());
    }
}
