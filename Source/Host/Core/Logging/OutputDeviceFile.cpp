#include "Core/Logging/OutputDeviceFile.h"

#include "Core/Logging/LogLineFormat.h"

FOutputDeviceFile::FOutputDeviceFile(const FString& InPath) : Path(InPath), File(std::fopen(*InPath, "a"))
{
}

FOutputDeviceFile::~FOutputDeviceFile()
{
    if (File)
    {
        std::fclose(File);
    }
}

void FOutputDeviceFile::Serialize(const char* Message, ELogVerbosity Verbosity, const FName& Category)
{
    if (!File)
    {
        return;
    }
    const FString Line = VT::FormatLogLine(Message, Verbosity, Category);
    std::scoped_lock Lock(Mutex);
    std::fprintf(File, "%s\n", *Line);
    std::fflush(File);
}

void FOutputDeviceFile::Flush()
{
    std::scoped_lock Lock(Mutex);
    if (File)
    {
        std::fflush(File);
    }
}
