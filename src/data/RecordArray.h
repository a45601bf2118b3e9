#pragma once
// A 1-based record array with a fixed capacity whose memory follows the data: it grows to the
// number of records a writer announces, never beyond its capacity, and keeps what it allocated
// for the next measurement. Vehicle records are not zero-filled when they first appear (writers
// fill them completely, and touching memory twice costs more than the work itself); interval
// records are, so that the never-written Spare slot is 0 in memory and in files.

#include "base/CoreError.h"

#include <cassert>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

template <typename T> struct DefaultInitAllocator : std::allocator<T> {
    template <typename U> struct rebind { using other = DefaultInitAllocator<U>; };
    using std::allocator<T>::allocator;
    template <typename U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

template <typename T, int Capacity, bool ZeroNew = false> class RecordArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    static constexpr int capacity() { return Capacity; }

    // Makes records 1..n addressable. Throws CoreError when n exceeds the capacity.
    void EnsureSize(int n) {
        if (n > Capacity)
            throw CoreError(ProgramMessage::CapacityExceeded, std::to_string(Capacity));
        const auto old = records_.size();
        if (n > static_cast<int>(old)) {
            records_.resize(static_cast<std::size_t>(n));
            if constexpr (ZeroNew)
                std::memset(static_cast<void*>(records_.data() + old), 0,
                            (records_.size() - old) * sizeof(T));
        }
    }
    // Number of records that are addressable (not the number of valid ones; that is the count).
    int allocated() const { return static_cast<int>(records_.size()); }

    T& operator[](int n) {
        assert(n >= 1 && n <= allocated());
        return records_[static_cast<std::size_t>(n - 1)];
    }
    const T& operator[](int n) const {
        assert(n >= 1 && n <= allocated());
        return records_[static_cast<std::size_t>(n - 1)];
    }
    // Records 1..allocated() as a contiguous block (record 1 first).
    T* data() { return records_.data(); }
    const T* data() const { return records_.data(); }

    void swap(RecordArray& other) noexcept { records_.swap(other.records_); }

private:
    std::vector<T, DefaultInitAllocator<T>> records_;
};
