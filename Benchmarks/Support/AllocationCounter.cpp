#include "Support/AllocationCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace
{
std::atomic<int64_t> Live{0};
std::atomic<int64_t> Peak{0};

void* Allocate(std::size_t Size, std::size_t Alignment = 0)
{
    void* Memory = Alignment > alignof(std::max_align_t)
                       ? std::aligned_alloc(Alignment, (Size + Alignment - 1) / Alignment * Alignment)
                       : std::malloc(Size ? Size : 1);
    if (!Memory)
    {
        return nullptr;
    }
    const int64_t Now =
        Live.fetch_add(static_cast<int64_t>(malloc_usable_size(Memory)), std::memory_order_relaxed) +
        static_cast<int64_t>(malloc_usable_size(Memory));
    int64_t Highest = Peak.load(std::memory_order_relaxed);
    while (Now > Highest && !Peak.compare_exchange_weak(Highest, Now, std::memory_order_relaxed))
    {
    }
    return Memory;
}

void* AllocateOrThrow(std::size_t Size, std::size_t Alignment = 0)
{
    if (void* Memory = Allocate(Size, Alignment))
    {
        return Memory;
    }
    throw std::bad_alloc();
}

void Free(void* Memory)
{
    if (Memory)
    {
        Live.fetch_sub(static_cast<int64_t>(malloc_usable_size(Memory)), std::memory_order_relaxed);
        std::free(Memory);
    }
}
} // namespace

int64_t AllocationCounter::LiveBytes()
{
    return Live.load(std::memory_order_relaxed);
}

int64_t AllocationCounter::PeakBytes()
{
    return Peak.load(std::memory_order_relaxed);
}

void AllocationCounter::MarkPeak()
{
    Peak.store(Live.load(std::memory_order_relaxed), std::memory_order_relaxed);
}

void* operator new(std::size_t Size)
{
    return AllocateOrThrow(Size);
}
void* operator new[](std::size_t Size)
{
    return AllocateOrThrow(Size);
}
void* operator new(std::size_t Size, const std::nothrow_t&) noexcept
{
    return Allocate(Size);
}
void* operator new[](std::size_t Size, const std::nothrow_t&) noexcept
{
    return Allocate(Size);
}
void* operator new(std::size_t Size, std::align_val_t Alignment)
{
    return AllocateOrThrow(Size, static_cast<std::size_t>(Alignment));
}
void* operator new[](std::size_t Size, std::align_val_t Alignment)
{
    return AllocateOrThrow(Size, static_cast<std::size_t>(Alignment));
}
void operator delete(void* Memory) noexcept
{
    Free(Memory);
}
void operator delete[](void* Memory) noexcept
{
    Free(Memory);
}
void operator delete(void* Memory, std::size_t) noexcept
{
    Free(Memory);
}
void operator delete[](void* Memory, std::size_t) noexcept
{
    Free(Memory);
}
void operator delete(void* Memory, std::align_val_t) noexcept
{
    Free(Memory);
}
void operator delete[](void* Memory, std::align_val_t) noexcept
{
    Free(Memory);
}
void operator delete(void* Memory, std::size_t, std::align_val_t) noexcept
{
    Free(Memory);
}
void operator delete[](void* Memory, std::size_t, std::align_val_t) noexcept
{
    Free(Memory);
}
