#include "Core/Logging/Log.h"
#include "Core/Logging/LogMacros.h"
#include "Core/Logging/OutputDeviceConsole.h"
#include "Core/Logging/OutputDeviceFile.h"
#include "Core/Logging/ScopedLogCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> ReadLines(std::FILE* Stream)
{
    std::rewind(Stream);
    std::vector<std::string> Lines;
    char Buffer[256];
    while (std::fgets(Buffer, sizeof(Buffer), Stream))
    {
        Lines.emplace_back(Buffer);
    }
    return Lines;
}

std::vector<std::string> ReadLines(const std::string& Path)
{
    std::ifstream Stream(Path);
    std::vector<std::string> Lines;
    for (std::string Line; std::getline(Stream, Line);)
    {
        Lines.push_back(Line);
    }
    return Lines;
}

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

TEST(LogOutputDevice, ConsoleSplitsStreamsAndFormatsLines)
{
    std::FILE* Output = std::tmpfile();
    std::FILE* Error = std::tmpfile();
    ASSERT_TRUE(Output && Error);
    {
        FOutputDeviceConsole Console(Output, Error);
        Console.Serialize("plain", ELogVerbosity::Log, "LogRivet");
        Console.Serialize("shown", ELogVerbosity::Display, "LogRivet");
        Console.Serialize("bad", ELogVerbosity::Warning, "LogRivet");
        Console.Serialize("worse", ELogVerbosity::Error, "LogRivet");
        Console.Flush();
    }
    EXPECT_EQ(ReadLines(Output),
              (std::vector<std::string>{"LogRivet: plain\n", "LogRivet: Display: shown\n"}));
    EXPECT_EQ(ReadLines(Error),
              (std::vector<std::string>{"LogRivet: Warning: bad\n", "LogRivet: Error: worse\n"}));
    std::fclose(Output);
    std::fclose(Error);
}

TEST(LogOutputDevice, FileAppendsLines)
{
    const std::string Path = testing::TempDir() + "RivetOutputDeviceFileTest.log";
    std::remove(Path.c_str());
    {
        FOutputDeviceFile File{FString(Path)};
        ASSERT_TRUE(File.IsOpen());
        FLog::Get().AddOutputDevice(&File);
        VT_LOG(LogCore, Log, "first %d", 1);
        VT_LOG(LogCore, Error, "second");
        FLog::Get().RemoveOutputDevice(&File);
        // Flushed after every line: the file is complete while the device is still open.
        EXPECT_EQ(ReadLines(Path).size(), 2u);
    }
    {
        FOutputDeviceFile Again{FString(Path)};
        Again.Serialize("third", ELogVerbosity::Display, "LogRivet");
    }
    EXPECT_EQ(ReadLines(Path), (std::vector<std::string>{"LogCore: first 1", "LogCore: Error: second",
                                                         "LogRivet: Display: third"}));
    std::remove(Path.c_str());
}

TEST(Log, FansOutToEveryAttachedDeviceOnce)
{
    FScopedLogCapture First;
    FScopedLogCapture Second;
    FLog::Get().AddOutputDevice(&Second);
    VT_LOG(LogCore, Display, "to both");
    EXPECT_EQ(First.GetLines().Num(), 1);
    EXPECT_EQ(Second.GetLines().Num(), 1);

    FLog::Get().RemoveOutputDevice(&Second);
    EXPECT_FALSE(FLog::Get().IsOutputDeviceAttached(&Second));
    VT_LOG(LogCore, Display, "to first");
    EXPECT_EQ(First.GetLines().Num(), 2);
    EXPECT_EQ(Second.GetLines().Num(), 1);
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
