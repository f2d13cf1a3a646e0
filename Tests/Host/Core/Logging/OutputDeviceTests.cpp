#include "Core/Logging/Log.h"
#include "Core/Logging/LogMacros.h"
#include "Core/Logging/ScopedLogCapture.h"

#include <gtest/gtest.h>

namespace
{
/** A device that detaches another device, or itself, when it receives a message. */
class FDetachingDevice : public FOutputDevice
{
public:
    explicit FDetachingDevice(FOutputDevice* InVictim) : Victim(InVictim) {}
    void Serialize(const char*, ELogVerbosity, const FName&) override
    {
        ++Received;
        FLog::Get().RemoveOutputDevice(Victim ? Victim : this);
    }
    FOutputDevice* Victim;
    int32 Received = 0;
};
} // namespace

TEST(Log, FansOutToEveryAttachedDeviceOnce)
{
    FScopedLogCapture First;
    FScopedLogCapture Second;
    FLog::Get().AddOutputDevice(&Second);
    VT_LOG(LogCore, Display, "to both");
    EXPECT_EQ(First.GetLines().Num(), 1);
    EXPECT_EQ(Second.GetLines().Num(), 1) << "attaching twice delivers once";
}

TEST(Log, DevicesMayDetachWhileReceiving)
{
    FScopedLogCapture Capture;
    FDetachingDevice Remover(&Capture);
    FDetachingDevice SelfRemover(nullptr);
    FLog::Get().AddOutputDevice(&SelfRemover);
    FLog::Get().RemoveOutputDevice(&Capture);
    FLog::Get().AddOutputDevice(&Remover);
    FLog::Get().AddOutputDevice(&Capture);

    VT_LOG(LogCore, Display, "first");
    VT_LOG(LogCore, Display, "second");
    EXPECT_EQ(SelfRemover.Received, 1);
    EXPECT_EQ(Remover.Received, 2);
    // Detached by Remover before its turn came.
    EXPECT_TRUE(Capture.GetLines().IsEmpty());
    FLog::Get().RemoveOutputDevice(&Remover);
    EXPECT_FALSE(FLog::Get().IsOutputDeviceAttached(&SelfRemover));
}
