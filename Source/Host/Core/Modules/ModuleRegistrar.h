#pragma once

#include "Core/Modules/ModuleManager.h"

#include <memory>

/** Registers a module with the manager during static initialization; see VT_IMPLEMENT_MODULE. */
struct FModuleRegistrar
{
    FModuleRegistrar(const char* ModuleName, FModuleManager::FModuleFactory Factory)
    {
        FModuleManager::Get().RegisterModule(FName(ModuleName), Factory);
    }
};

/**
 * Makes a module known to the manager. Place once in a .cpp of the module:
 *     VT_IMPLEMENT_MODULE(FRivetEditorModule, RivetEditor);
 * The module's library must be linked whole, or the registration is dropped by the linker.
 */
#define VT_IMPLEMENT_MODULE(ModuleClass, ModuleName)                                                         \
    static const ::FModuleRegistrar VtModuleRegistrar_##ModuleName(                                          \
        #ModuleName,                                                                                         \
        []() -> std::unique_ptr<::IModuleInterface> { return std::make_unique<ModuleClass>(); })
