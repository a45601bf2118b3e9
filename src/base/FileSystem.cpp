#include "base/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <new>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSystem {
namespace {
[[noreturn]] void ThrowSystemError(int error) {
    throw std::system_error(error, std::generic_category());
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}
} // namespace

MappedFile::MappedFile(const std::filesystem::path& file, std::size_t prefaultLimit) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        ThrowSystemError(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        ThrowSystemError(error);
    }
    size_ = static_cast<std::size_t>(st.st_size);
    if (size_ > 0) {
        const int populate = size_ <= prefaultLimit ? MAP_POPULATE : 0;
        void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | populate, fd, 0);
        if (p == MAP_FAILED) {
            const int error = errno;
            ::close(fd);
            ThrowSystemError(error);
        }
        data_ = static_cast<const char*>(p);
    }
    ::close(fd);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr)
        ::munmap(const_cast<char*>(data_), size_);
}

void AdviseHugePages(void* p, std::size_t bytes) {
    constexpr std::uintptr_t Page = 4096;
    const auto begin = (reinterpret_cast<std::uintptr_t>(p) + Page - 1) & ~(Page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(Page - 1);
    if (end > begin)
        (void)::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

namespace {
// From here on a block takes whole huge pages: one costs about as much to fault in as 30 small
// pages, so even a quarter-filled one is cheaper.
constexpr std::size_t HugePageThreshold = HugePageSize / 4;
} // namespace

void* AllocateRecordMemory(std::size_t bytes) {
    if (bytes < HugePageThreshold)
        return ::operator new(std::max<std::size_t>(bytes, 1));
    // Mapped with a huge page of slack, so that the block can start on a huge-page boundary; the
    // slack is given back at once.
    const std::size_t rounded = (bytes + HugePageSize - 1) & ~(HugePageSize - 1);
    void* p =
        ::mmap(nullptr, rounded + HugePageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    const auto mapped = reinterpret_cast<std::uintptr_t>(p);
    const auto begin = (mapped + HugePageSize - 1) & ~(HugePageSize - 1);
    if (begin > mapped)
        ::munmap(p, begin - mapped);
    const std::uintptr_t end = begin + rounded;
    if (mapped + rounded + HugePageSize > end)
        ::munmap(reinterpret_cast<void*>(end), mapped + rounded + HugePageSize - end);
    (void)::madvise(reinterpret_cast<void*>(begin), rounded, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(begin);
}

void FreeRecordMemory(void* p, std::size_t bytes) noexcept {
    if (p == nullptr)
        return;
    if (bytes < HugePageThreshold) {
        ::operator delete(p);
        return;
    }
    ::munmap(p, (bytes + HugePageSize - 1) & ~(HugePageSize - 1));
}

NewFile::~NewFile() {
    Close();
}

bool NewFile::Create(const std::filesystem::path& file, std::error_code& error) {
    Close();
    descriptor_ = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor_ < 0)
        error = LastError();
    return descriptor_ >= 0;
}

bool NewFile::WriteAll(const char* bytes, std::size_t size, std::error_code& error) {
    if (descriptor_ < 0) {
        error = std::make_error_code(std::errc::bad_file_descriptor);
        return false;
    }
    while (size > 0) {
        const ssize_t written = ::write(descriptor_, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = LastError();
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void NewFile::CopyPermissionsOf(const std::filesystem::path& model) {
    struct stat st {};
    if (descriptor_ >= 0 && ::stat(model.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        (void)::fchmod(descriptor_, st.st_mode & 07777);
}

bool NewFile::SyncAndClose(std::error_code& error) {
    if (descriptor_ < 0) {
        error = std::make_error_code(std::errc::bad_file_descriptor);
        return false;
    }
    if (::fsync(descriptor_) != 0) {
        error = LastError();
        return false;
    }
    const int fd = descriptor_;
    descriptor_ = -1;
    if (::close(fd) != 0) {
        error = LastError();
        return false;
    }
    return true;
}

void NewFile::Close() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
}

bool ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error) {
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    error = LastError();
    return false;
}

bool IsWritable(const std::filesystem::path& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

long ProcessId() {
    return static_cast<long>(::getpid());
}

} // namespace FileSystem
