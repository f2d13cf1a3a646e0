#include "Interchange/Private/AtomicFileWriter.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

bool WriteFileAtomically(const FString& Path, std::string_view Bytes, FString& OutError)
{
    const std::filesystem::path Target(Path.ToStdString());
    std::filesystem::path Temporary = Target;
    Temporary += FString::Printf(".%d.tmp", static_cast<int>(getpid())).ToStdString();
    {
        std::ofstream Stream(Temporary, std::ios::binary | std::ios::trunc);
        if (!Stream)
        {
            OutError = "the file cannot be created (is the folder missing or read-only?)";
            return false;
        }
        Stream.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
        Stream.close();
        if (!Stream)
        {
            std::error_code Ignored;
            std::filesystem::remove(Temporary, Ignored);
            OutError = "writing the file failed (is the disk full?)";
            return false;
        }
    }
    std::error_code Error;
    std::filesystem::rename(Temporary, Target, Error);
    if (Error)
    {
        std::error_code Ignored;
        std::filesystem::remove(Temporary, Ignored);
        OutError = FString("the file cannot be replaced: ") + Error.message();
        return false;
    }
    return true;
}
