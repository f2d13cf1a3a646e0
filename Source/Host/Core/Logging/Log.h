#pragma once

#include "Core/Containers/Array.h"
#include "Core/Logging/OutputDevice.h"

#include <mutex>

/**
 * The process's log: passes every message on to the attached output devices, in the order
 * they were attached. No device is attached at start; a program attaches the ones it wants.
 *
 * Devices may be attached or detached from any thread, also by a device while it receives a
 * message: a device attached during a message gets the next one, and a detached device gets
 * nothing more. The log does not own its devices; detach a device before destroying it.
 */
class FLog : public FOutputDevice
{
public:
    /** The one log. Usable during static initialization and destruction. */
    static FLog& Get();

    void AddOutputDevice(FOutputDevice* Device);
    void RemoveOutputDevice(FOutputDevice* Device);
    bool IsOutputDeviceAttached(const FOutputDevice* Device) const;

    void Serialize(const char* Message, ELogVerbosity Verbosity, const FName& Category) override;
    void Flush() override;

private:
    FLog() = default;

    template <typename FunctionType>
    void ForEachDevice(FunctionType Function);

    mutable std::recursive_mutex Mutex;
    /** Detached devices become null while a message is going out, and are dropped after it. */
    TArray<FOutputDevice*> Devices;
    int32 BroadcastDepth = 0;
};
