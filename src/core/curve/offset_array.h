#pragma once
#include <algorithm>
#include <cassert>
#include <cstddef>
#include <memory>

namespace ostrivane {

// A fixed-size array indexed First … Last (inclusive), e.g. -1 … 10000 for the per-point
// arrays whose slot -1 and the slots past the last point hold boundary copies. The storage
// lives on the heap and is sized once at construction, so an object holding many of these
// stays small and copying one array into another never allocates.
template <typename T, int First, int Last>
class OffsetArray {
  public:
    static_assert(First <= Last);
    static constexpr int first = First;
    static constexpr int last = Last;
    static constexpr std::size_t size = static_cast<std::size_t>(Last - First + 1);

    OffsetArray() : slots_(std::make_unique<T[]>(size)) {}
    explicit OffsetArray(const T& value) : OffsetArray() { fill(value); }
    OffsetArray(const OffsetArray& other) : OffsetArray() { *this = other; }
    // Copies element by element into the existing storage: no allocation.
    OffsetArray& operator=(const OffsetArray& other) {
        std::copy(other.slots_.get(), other.slots_.get() + size, slots_.get());
        return *this;
    }

    static constexpr bool in_range(int index) { return index >= First && index <= Last; }

    T& operator[](int index) {
        assert(in_range(index));
        return slots_[static_cast<std::size_t>(index - First)];
    }
    const T& operator[](int index) const {
        assert(in_range(index));
        return slots_[static_cast<std::size_t>(index - First)];
    }

    void fill(const T& value) { std::fill(slots_.get(), slots_.get() + size, value); }

    // Contiguous storage; element 0 of the pointer is slot First.
    T* begin_ptr() { return slots_.get(); }
    const T* begin_ptr() const { return slots_.get(); }

  private:
    std::unique_ptr<T[]> slots_;  // never null
};

}  // namespace ostrivane
