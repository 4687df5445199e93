#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "formats/Bytes.h"

namespace formats {

// An open file descriptor, closed when it goes; -1 holds none.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~FileDescriptor();

    [[nodiscard]] int get() const { return fd_; }
    [[nodiscard]] bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

// Fills `bytes` from the descriptor. A file cut short since it was measured keeps what is
// there (`bytes` shrinks to it); false on a read error (errno tells which).
bool ReadAll(int fd, Bytes& bytes);

// Reads until the end (a pipe or socket closed by its writer): nullopt on a read error or past
// `limit` bytes.
std::optional<std::string> ReadToEnd(int fd, std::size_t limit);

// Writes every byte; false on an error (errno tells which; ENOSPC when nothing could be written).
bool WriteAll(int fd, std::span<const std::uint8_t> bytes);
bool WriteAll(int fd, std::string_view bytes);

}  // namespace formats
