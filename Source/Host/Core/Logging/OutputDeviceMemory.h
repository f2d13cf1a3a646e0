#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Logging/OutputDevice.h"

#include <mutex>
#include <string_view>

struct FLogLine
{
    FName Category;
    ELogVerbosity Verbosity = ELogVerbosity::Log;
    FString Message;
};

/** Keeps every message it receives in memory, for tests and for tools that show recent output. */
class FOutputDeviceMemory : public FOutputDevice
{
public:
    void Serialize(const char* Message, ELogVerbosity Verbosity, const FName& Category) override;

    /** A copy of the lines received so far, oldest first. */
    TArray<FLogLine> GetLines() const;
    /** A copy of the lines received from the First'th on (counting from 0), oldest first. */
    TArray<FLogLine> GetLinesFrom(int32 First) const;
    void Clear();

    /** The lines of one category, oldest first. */
    TArray<FLogLine> FindLines(const FName& Category) const;
    int32 CountLines(const FName& Category) const;
    int32 CountLines(const FName& Category, ELogVerbosity Verbosity) const;
    /** True when a line of the category contains Part. */
    bool ContainsMessage(const FName& Category, std::string_view Part) const;

private:
    mutable std::mutex Mutex;
    TArray<FLogLine> Lines;
};
