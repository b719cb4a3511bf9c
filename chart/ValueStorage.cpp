#include "chart/ValueStorage.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace chart {

namespace {

// Blocks from this size on get a mapping of their own.
constexpr size_t kMapFrom = 64 * 1024;

size_t ReserveFor(size_t bytes) {
    size_t reserve = kMapFrom;
    while (reserve < bytes)
        reserve *= 2;
    return reserve;
}

}  // namespace

void TGrowableBlock::Resize(size_t bytes) {
    if (mappedBytes_ == 0 && bytes < kMapFrom) {
        void* grown = std::realloc(data_, bytes);
        if (!grown && bytes) throw std::bad_alloc();
        data_ = grown;
    } else if (mappedBytes_ == 0) {
        // Moving from the heap into a mapping: copy once, reserving room to grow.
        const size_t reserve = ReserveFor(bytes);
        void* map = mmap(nullptr, reserve, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (map == MAP_FAILED) throw std::bad_alloc();
        if (data_) std::memcpy(map, data_, bytes_);
        std::free(data_);
        data_ = map;
        mappedBytes_ = reserve;
    } else if (bytes > mappedBytes_) {
        // The kernel moves the pages; nothing is copied.
        const size_t reserve = ReserveFor(bytes);
        void* map = mremap(data_, mappedBytes_, reserve, MREMAP_MAYMOVE);
        if (map == MAP_FAILED) throw std::bad_alloc();
        data_ = map;
        mappedBytes_ = reserve;
    }
    bytes_ = bytes;
}

void TGrowableBlock::Release() {
    if (mappedBytes_)
        munmap(data_, mappedBytes_);
    else
        std::free(data_);
    data_ = nullptr;
    bytes_ = 0;
    mappedBytes_ = 0;
}

}  // namespace chart
