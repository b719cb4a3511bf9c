// Bytes the process holds on the heap right now, from the allocator in use: glibc's
// mallinfo2 (blocks in use plus mapped blocks) in a normal build, the sanitizer
// allocator's own count in a sanitizer build (where glibc's figures say nothing).
#pragma once

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of bytes allocated and not yet freed (declared here: GCC
// ships the runtime but not its interface headers).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
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
