// Bytes the process holds on the heap right now, from the allocator in use: glibc's
// mallinfo2 (blocks in use plus mapped blocks) in a normal build, the sanitizer
// allocator's own count in a sanitizer build (where glibc's figures say nothing).
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/allocator_interface.h>
#else
#include <malloc.h>
#endif

namespace reliability {

inline long long HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
#endif
}

inline const char* HeapCounterName() {
#if defined(__SANITIZE_ADDRESS__)
    return "sanitizer allocator";
#else
    return "mallinfo2";
#endif
}

}  // namespace reliability
