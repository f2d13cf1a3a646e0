#pragma once

#include "Core/Containers/String.h"
#include "Core/Logging/OutputDevice.h"

#include <cstdio>
#include <mutex>

/** Appends messages as lines to a file and flushes after each one, so a crash loses nothing. */
class FOutputDeviceFile : public FOutputDevice
{
public:
    explicit FOutputDeviceFile(const FString& InPath);
    ~FOutputDeviceFile() override;
    FOutputDeviceFile(const FOutputDeviceFile&) = delete;
    FOutputDeviceFile& operator=(const FOutputDeviceFile&) = delete;

    /** False when the file could not be opened; messages are then dropped. */
    bool IsOpen() const { return File != nullptr; }
    const FString& GetPath() const { return Path; }

    void Serialize(const char* Message, ELogVerbosity Verbosity, const FName& Category) override;
    void Flush() override;

private:
    FString Path;
    std::FILE* File = nullptr;
    std::mutex Mutex;
};
