#pragma once
// A 1-based record array with a fixed capacity whose memory follows the data: it grows to the
// number of records a writer announces, never beyond its capacity, and keeps what it allocated
// for the next measurement. Records are not zero-filled when they appear: writers fill them
// completely, and touching fresh memory twice costs more than the work itself. Large arrays lie in
// huge pages (see FileSystem::AllocateRecordMemory).
//
// A working array can share the records of the array it was taken from (ShareFrom) instead of
// copying them: most runs never change the working records, and a copy of a few megabytes costs
// more than evaluating them. Whichever array is written to first gets its own copy then; reading
// through a const array never copies.

#include "base/CoreError.h"
#include "base/FileSystem.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

template <typename T, int Capacity> class RecordArray {
    static_assert(std::is_trivially_copyable_v<T>);
    static_assert(alignof(T) <= alignof(std::max_align_t));

public:
    RecordArray() = default;
    // A copy shares the records until either side writes.
    RecordArray(const RecordArray& other) : block_(other.block_), size_(other.size_) { MarkShared(other); }
    RecordArray& operator=(const RecordArray& other) {
        if (this != &other) {
            block_ = other.block_;
            size_ = other.size_;
            MarkShared(other);
        }
        return *this;
    }
    RecordArray(RecordArray&&) noexcept = default;
    RecordArray& operator=(RecordArray&&) noexcept = default;

    static constexpr int capacity() { return Capacity; }

    // Makes records 1..n addressable, keeping records 1..allocated(). Throws CoreError when n
    // exceeds the capacity.
    void EnsureSize(int n) {
        if (n > Capacity)
            throw CoreError(ProgramMessage::CapacityExceeded, std::to_string(Capacity));
        if (n <= size_)
            return;
        if (!block_ || n > block_->capacity || IsShared())
            Reallocate(std::max(n, GrownCapacity()));
        size_ = n;
    }
    // Number of records that are addressable (not the number of valid ones; that is the count).
    int allocated() const { return size_; }

    T& operator[](int n) {
        assert(n >= 1 && n <= allocated());
        return data()[n - 1];
    }
    const T& operator[](int n) const {
        assert(n >= 1 && n <= allocated());
        return data()[n - 1];
    }
    // Records 1..allocated() as a contiguous block (record 1 first). The non-const form gives this
    // array its own records first.
    T* data() {
        if (shared_) [[unlikely]]
            MakeOwn();
        return block_ ? block_->records : nullptr;
    }
    const T* data() const { return block_ ? block_->records : nullptr; }

    // Takes the records of source without copying them; they are copied when either array is
    // written to.
    void ShareFrom(const RecordArray& source) {
        if (this == &source)
            return;
        block_ = source.block_;
        size_ = source.size_;
        MarkShared(source);
    }
    // Lets go of shared records whose contents are no longer wanted (they are about to be
    // overwritten), so that neither side copies them. An array with records of its own keeps them
    // for reuse.
    void DropShared() {
        if (IsShared()) {
            block_.reset();
            size_ = 0;
        }
        shared_ = false;
    }

    void swap(RecordArray& other) noexcept {
        block_.swap(other.block_);
        std::swap(size_, other.size_);
        std::swap(shared_, other.shared_);
    }

private:
    struct Block {
        explicit Block(int n)
            : records(static_cast<T*>(FileSystem::AllocateRecordMemory(Bytes(n)))), capacity(n) {}
        ~Block() { FileSystem::FreeRecordMemory(records, Bytes(capacity)); }
        Block(const Block&) = delete;
        Block& operator=(const Block&) = delete;
        static std::size_t Bytes(int n) { return static_cast<std::size_t>(n) * sizeof(T); }
        T* records;
        int capacity;
    };

    bool IsShared() const { return block_ && block_.use_count() > 1; }
    void MarkShared(const RecordArray& other) {
        shared_ = static_cast<bool>(block_);
        other.shared_ = shared_;
    }
    // Growing record by record must not copy the whole array each time.
    int GrownCapacity() const {
        const int current = block_ ? block_->capacity : 0;
        return std::min(Capacity, current + current / 2);
    }
    void Reallocate(int capacity) {
        auto fresh = std::make_shared<Block>(capacity);
        if (size_ > 0)
            std::memcpy(static_cast<void*>(fresh->records), block_->records, Block::Bytes(size_));
        block_ = std::move(fresh);
        shared_ = false;
    }
    void MakeOwn() {
        if (IsShared())
            Reallocate(std::max(size_, 1));
        shared_ = false;
    }

    std::shared_ptr<Block> block_;
    int size_ = 0;
    // Set while the block may be shared (the other side may have let go since); checked before
    // every write so that the common unshared case costs a flag test.
    mutable bool shared_ = false;
};
