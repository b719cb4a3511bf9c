// The memory behind a series' value lists and colour list: a block whose length the list
// grows in fixed steps. Small blocks live on the heap; large ones in a mapping of their own
// with address space reserved ahead, so that growing a long list by one step neither copies
// it nor touches more than the pages it uses.
#pragma once

#include <cstddef>

namespace chart {

class TGrowableBlock {
public:
    TGrowableBlock() = default;
    ~TGrowableBlock() { Release(); }
    TGrowableBlock(const TGrowableBlock&) = delete;
    TGrowableBlock& operator=(const TGrowableBlock&) = delete;

    void* Data() const { return data_; }
    size_t Bytes() const { return bytes_; }
    // Makes the block `bytes` long, keeping what it holds; throws std::bad_alloc when the
    // memory is not there.
    void Resize(size_t bytes);
    // Frees the block; Bytes() is 0 afterwards.
    void Release();

private:
    void* data_ = nullptr;
    size_t bytes_ = 0;
    size_t mappedBytes_ = 0;  // size of the mapping, 0 while the block is on the heap
};

// A block of T counted in elements.
template <typename T>
class TBlock {
public:
    T* Data() const { return static_cast<T*>(block_.Data()); }
    int Length() const { return static_cast<int>(block_.Bytes() / sizeof(T)); }
    void Resize(int length) { block_.Resize(sizeof(T) * static_cast<size_t>(length)); }
    void Release() { block_.Release(); }

private:
    TGrowableBlock block_;
};

using TValueStorage = TBlock<double>;

}  // namespace chart
