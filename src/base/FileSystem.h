#pragma once
// The few operating-system calls the core needs beyond the standard library: a file mapped into
// memory, a hint for large buffers, a new file written and synced to disk, an atomic replace and
// write permission. Everything else in the core is standard C++.

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace FileSystem {

// A regular file mapped read-only for the object's lifetime. Throws std::system_error (generic
// category) when the file cannot be opened, is no regular file or cannot be mapped.
class MappedFile {
public:
    // A file of at most prefaultLimit bytes is read in at once, cheaper for a file that is read
    // to its end; a larger one page by page as it is touched.
    MappedFile(const std::filesystem::path& file, std::size_t prefaultLimit);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view bytes() const { return {data_ == nullptr ? "" : data_, size_}; }

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

// Asks for huge pages on the whole pages of [p, p + bytes); a hint that may be ignored.
void AdviseHugePages(void* p, std::size_t bytes);

// Memory for large record arrays, not touched yet. From half a megabyte on, the block is aligned to
// and advised for huge pages: the first touch of fresh memory costs a page fault per 4 KB, which
// for a few megabytes takes longer than the work done on them. Throws std::bad_alloc.
inline constexpr std::size_t HugePageSize = std::size_t{2} << 20;
void* AllocateRecordMemory(std::size_t bytes);
// Frees what AllocateRecordMemory gave for the same number of bytes.
void FreeRecordMemory(void* p, std::size_t bytes) noexcept;

// A file created new for writing (never one that exists); closed on destruction.
class NewFile {
public:
    NewFile() = default;
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Creates the file; false (and error set) when it exists already or cannot be made.
    bool Create(const std::filesystem::path& file, std::error_code& error);
    bool IsOpen() const { return descriptor_ >= 0; }
    // Writes all bytes; false (and error set) when the disk refuses.
    bool WriteAll(const char* bytes, std::size_t size, std::error_code& error);
    // Gives the file the permission bits of model, when model is a regular file.
    void CopyPermissionsOf(const std::filesystem::path& model);
    // Forces the bytes to the disk and closes the file.
    bool SyncAndClose(std::error_code& error);
    void Close();

private:
    int descriptor_ = -1;
};

// Moves from over to in one step (both in one folder): readers see the old or the new file.
bool ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error);

// Whether the running user may write the folder or file (an absent file counts as not writable).
bool IsWritable(const std::filesystem::path& path);

// The running process's number, to make names that other processes do not use.
long ProcessId();

} // namespace FileSystem
