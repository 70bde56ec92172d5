#include "ReportArena.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace kv::cli {

namespace {

// The replaced global new and delete of the program reach the region through
// this one process-wide object, set once before the report runs.
struct Region {
    char* begin = nullptr;
    char* next = nullptr;
    char* end = nullptr;
};

Region& region() {
    static Region instance;
    return instance;
}

void* allocate(std::size_t size, std::size_t alignment) {
    Region& r = region();
    if (r.begin != nullptr) {
        const auto at = (reinterpret_cast<std::uintptr_t>(r.next) + alignment - 1) & ~(alignment - 1);
        auto* start = reinterpret_cast<char*>(at);
        if (start <= r.end && static_cast<std::size_t>(r.end - start) >= size) {
            r.next = start + size;
            return start;
        }
    }
    void* memory = alignment <= __STDCPP_DEFAULT_NEW_ALIGNMENT__
                       ? std::malloc(size == 0 ? 1 : size)
                       : std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

void release(void* memory) noexcept {
    const Region& r = region();
    auto* p = static_cast<char*>(memory);
    if (r.begin != nullptr && p >= r.begin && p < r.end) {
        return; // the region goes with the process
    }
    std::free(memory);
}

} // namespace

bool useReportArena(std::size_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
    static_cast<void>(bytes);
    return false;
#else
    if (bytes == 0 || region().begin != nullptr) {
        return region().begin != nullptr;
    }
    void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        return false;
    }
    // Large pages where the system offers them, then every page at once.
#ifdef MADV_HUGEPAGE
    madvise(mapped, bytes, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    madvise(mapped, bytes, MADV_POPULATE_WRITE);
#endif
    Region& r = region();
    r.begin = static_cast<char*>(mapped);
    r.next = r.begin;
    r.end = r.begin + bytes;
    return true;
#endif
}

} // namespace kv::cli

void* operator new(std::size_t size) {
    return kv::cli::allocate(size, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
}
void* operator new[](std::size_t size) {
    return kv::cli::allocate(size, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return kv::cli::allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return kv::cli::allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return kv::cli::allocate(size, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return kv::cli::allocate(size, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* memory) noexcept {
    kv::cli::release(memory);
}
void operator delete[](void* memory) noexcept {
    kv::cli::release(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    kv::cli::release(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    kv::cli::release(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    kv::cli::release(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    kv::cli::release(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    kv::cli::release(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    kv::cli::release(memory);
}
