#include "Core/Logging/Log.h"

FLog& FLog::Get()
{
    // Never destroyed, so that code running during static destruction can still log.
    static FLog& Instance = *new FLog();
    return Instance;
}

void FLog::AddOutputDevice(FOutputDevice* Device)
{
    VT_CHECK(Device != nullptr && Device != this);
    std::scoped_lock Lock(Mutex);
    Devices.AddUnique(Device);
}

void FLog::RemoveOutputDevice(FOutputDevice* Device)
{
    std::scoped_lock Lock(Mutex);
    const int32 Index = Devices.Find(Device);
    if (Index == INDEX_NONE || Device == nullptr)
    {
        return;
    }
    if (BroadcastDepth > 0)
    {
        Devices[Index] = nullptr;
    }
    else
    {
        Devices.RemoveAt(Index);
    }
}

bool FLog::IsOutputDeviceAttached(const FOutputDevice* Device) const
{
    std::scoped_lock Lock(Mutex);
    return Device != nullptr && Devices.Contains(const_cast<FOutputDevice*>(Device));
}

template <typename FunctionType>
void FLog::ForEachDevice(FunctionType Function)
{
    std::scoped_lock Lock(Mutex);
    ++BroadcastDepth;
    // Devices attached by a device during this loop are past Count and wait for the next message.
    const int32 Count = Devices.Num();
    for (int32 Index = 0; Index < Count; ++Index)
    {
        if (FOutputDevice* Device = Devices[Index])
        {
            Function(*Device);
        }
    }
    if (--BroadcastDepth == 0)
    {
        Devices.Remove(nullptr);
    }
}

void FLog::Serialize(const char* Message, ELogVerbosity Verbosity, const FName& Category)
{
    ForEachDevice([&](FOutputDevice& Device) { Device.Serialize(Message, Verbosity, Category); });
}

void FLog::Flush()
{
    ForEachDevice([](FOutputDevice& Device) { Device.Flush(); });
}
