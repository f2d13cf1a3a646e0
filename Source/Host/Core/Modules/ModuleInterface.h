#pragma once

/**
 * What a module implements. The module manager makes one object per loaded module, starts it
 * once after making it and shuts it down once before destroying it.
 */
class IModuleInterface
{
public:
    virtual ~IModuleInterface() = default;

    /** Called once, right after the module object is made. */
    virtual void StartupModule() {}
    /** Called once, right before the module object is destroyed. */
    virtual void ShutdownModule() {}
};
