#include "Interchange/Private/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

FRegularFile::~FRegularFile()
{
    Close();
}

FRegularFile::FRegularFile(FRegularFile&& Other) noexcept
    : Descriptor(std::exchange(Other.Descriptor, -1)), Size(std::exchange(Other.Size, 0))
{
}

FRegularFile& FRegularFile::operator=(FRegularFile&& Other) noexcept
{
    if (this != &Other)
    {
        Close();
        Descriptor = std::exchange(Other.Descriptor, -1);
        Size = std::exchange(Other.Size, 0);
    }
    return *this;
}

void FRegularFile::Close()
{
    if (Descriptor >= 0)
    {
        ::close(Descriptor);
        Descriptor = -1;
    }
    Size = 0;
}

FRegularFile::EOpenError FRegularFile::Open(const std::filesystem::path& Path)
{
    Close();
    // Without O_NONBLOCK, opening a FIFO waits for a writer forever.
    const int Opened = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (Opened < 0)
    {
        return EOpenError::CannotOpen;
    }
    struct stat Status;
    if (::fstat(Opened, &Status) != 0 || !S_ISREG(Status.st_mode))
    {
        ::close(Opened);
        return EOpenError::NotRegular;
    }
    Descriptor = Opened;
    Size = static_cast<uint64>(Status.st_size);
    return EOpenError::None;
}

bool FRegularFile::ReadPrefix(size_t Num, uint8* Out) const
{
    if (Descriptor < 0 || Num > Size)
    {
        return false;
    }
    size_t Done = 0;
    while (Done < Num)
    {
        const ssize_t Got = ::pread(Descriptor, Out + Done, Num - Done, static_cast<off_t>(Done));
        if (Got < 0 && errno == EINTR)
        {
            continue;
        }
        if (Got <= 0)
        {
            return false;
        }
        Done += static_cast<size_t>(Got);
    }
    return true;
}
