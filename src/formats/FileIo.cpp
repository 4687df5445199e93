#include "formats/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "formats/FileDescriptor.h"

namespace formats {

namespace {

// The failure and, when known, the system's own reason (errno as it stood at the failure).
template <class Error>
bool failWith(Error* why, Error reason, std::error_code* cause, int osError = 0) {
    if (why) *why = reason;
    if (cause) *cause = std::error_code(osError, std::generic_category());
    return false;
}

// A regular file within the size limit, judged from its status alone: a huge or sparse file
// must not cost its size in memory.
bool isReadable(const struct stat& info, std::uint64_t maxBytes, FileReadError* why,
                std::error_code* cause) {
    if (!S_ISREG(info.st_mode)) return failWith(why, FileReadError::kNotAFile, cause);
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes)
        return failWith(why, FileReadError::kTooLarge, cause, EFBIG);
    return true;
}

}  // namespace

std::optional<Bytes> ReadFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes,
                                   FileReadError* why, std::error_code* cause) {
    failWith(why, FileReadError::kNone, cause);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        failWith(why, error == ENOENT ? FileReadError::kMissing : FileReadError::kReadFailed, cause,
                 error);
        return std::nullopt;
    }
    // Judged before the file is opened (opening a device can act on it), and again on the open
    // file: non-blocking, so a fifo put in its place since cannot hold the reader.
    if (!isReadable(info, maxBytes, why, cause)) return std::nullopt;
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
        failWith(why, FileReadError::kReadFailed, cause, errno);
        return std::nullopt;
    }
    if (!isReadable(info, maxBytes, why, cause)) return std::nullopt;
    Bytes bytes(static_cast<std::size_t>(info.st_size));
    if (!ReadAll(fd.get(), bytes)) {
        failWith(why, FileReadError::kReadFailed, cause, errno);
        return std::nullopt;
    }
    return bytes;
}

namespace {

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        // Nothing written and no error: the device is full.
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void syncFolder(const std::filesystem::path& folder) {
    const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
}

}  // namespace

bool WriteFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                        FileWriteError* why, std::error_code* cause) {
    failWith(why, FileWriteError::kNone, cause);
    const std::filesystem::path target = std::filesystem::absolute(path);
    const std::filesystem::path folder = target.parent_path();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return failWith(why, FileWriteError::kNoFolder, cause, ec.value());

    std::string temp = folder.string();
    temp.append("/.").append(target.filename().string()).append(".XXXXXX");
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return failWith(why, FileWriteError::kNoTemporary, cause, errno);
    // mkstemp creates the file private to the owner; user files keep the usual mode.
    const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    const bool closed = ::close(fd) == 0;
    if (written && !closed) error = errno;
    if (!written || !closed) {
        ::unlink(temp.c_str());
        return failWith(why, FileWriteError::kWriteFailed, cause, error);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
        ::unlink(temp.c_str());
        return failWith(why, FileWriteError::kNotReplaced, cause, error);
    }
    syncFolder(folder);
    return true;
}

}  // namespace formats
