#include "formats/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <string_view>
#include <utility>

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

void syncFolder(const std::filesystem::path& folder) {
    const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
}

// The permission bits of the regular file at `target`; none for a new name or a link (whose
// own bits say nothing of the file's).
std::optional<mode_t> replacedMode(const std::filesystem::path& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return info.st_mode & 0777;
}

// A new file beside the target under a name nothing holds yet, in `name`: O_EXCL and
// O_NOFOLLOW open nothing that stands there (a link planted under the name included), and
// 0666 lets the kernel apply the umask. -1 with errno set when none can be made.
int createTemporary(const std::filesystem::path& target, std::string& name) {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr int kAttempts = 100;
    constexpr int kRandomLetters = 6;
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letter(0, kLetters.size() - 1);
    const std::string prefix =
        target.parent_path().string() + "/." + target.filename().string() + ".";
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        name = prefix;
        for (int i = 0; i < kRandomLetters; ++i)
            name += kLetters[letter(random)];
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Closes a file the bytes went to: false, with the first failure's errno in `error`, when the
// write (`written`) or the close failed.
bool closeWritten(int fd, bool written, int& error) {
    error = written ? 0 : errno;
    const bool closed = ::close(fd) == 0;
    if (written && !closed) error = errno;
    return written && closed;
}

// A regular file whose only name is this one: writing it changes nothing else.
bool isOwnFile(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_nlink == 1;
}

// The file `named` describes, opened for writing in place with its size in `size`; -1 when
// something else has taken its place since (not following a link, not blocking on a fifo).
int openOwnFile(const std::filesystem::path& target, const struct stat& named, off_t& size) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat opened {};
    if (fd >= 0 && ::fstat(fd, &opened) == 0 && isOwnFile(opened) &&
        opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
        size = opened.st_size;
        return fd;
    }
    if (fd >= 0) ::close(fd);
    return -1;
}

// A cache file written where it stands: a new file and a rename cost more than writing a
// small file. Whatever else has the name (a link, a file with other names) is removed, never
// followed nor written through, and the file made anew.
bool writeCache(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                FileWriteError* why, std::error_code* cause) {
    // Judged from its status before it is opened: opening a device can act on it.
    struct stat named {};
    const bool present = ::lstat(target.c_str(), &named) == 0;
    off_t oldSize = 0;
    int fd = present && isOwnFile(named) ? openOwnFile(target, named, oldSize) : -1;
    if (fd < 0) {
        if (present && ::unlink(target.c_str()) != 0 && errno != ENOENT)
            return failWith(why, FileWriteError::kNotReplaced, cause, errno);
        fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) return failWith(why, FileWriteError::kNotReplaced, cause, errno);
    }
    const auto size = static_cast<off_t>(bytes.size());
    const bool written = WriteAll(fd, bytes) && (oldSize <= size || ::ftruncate(fd, size) == 0);
    int error = 0;
    if (!closeWritten(fd, written, error))
        return failWith(why, FileWriteError::kWriteFailed, cause, error);
    return true;
}

bool makeFolderOf(const std::filesystem::path& target, FileWriteError* why,
                  std::error_code* cause) {
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    return !ec || failWith(why, FileWriteError::kNoFolder, cause, ec.value());
}

}  // namespace

bool WriteFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                        FileWriteError* why, std::error_code* cause, Flush flush) {
    if (flush == Flush::kToDisk) {
        std::optional<PendingReplacement> pending = WriteFilePending(path, bytes, why, cause);
        return pending && pending->Replace(why, cause);
    }
    failWith(why, FileWriteError::kNone, cause);
    const std::filesystem::path target = std::filesystem::absolute(path);
    return makeFolderOf(target, why, cause) && writeCache(target, bytes, why, cause);
}

std::optional<PendingReplacement> WriteFilePending(const std::filesystem::path& path,
                                                   std::span<const std::uint8_t> bytes,
                                                   FileWriteError* why, std::error_code* cause) {
    failWith(why, FileWriteError::kNone, cause);
    const std::filesystem::path target = std::filesystem::absolute(path);
    if (!makeFolderOf(target, why, cause)) return std::nullopt;
    struct stat named {};
    if (::lstat(target.c_str(), &named) == 0 && S_ISDIR(named.st_mode)) {
        failWith(why, FileWriteError::kNotReplaced, cause, EISDIR);
        return std::nullopt;
    }

    std::string temp;
    const int fd = createTemporary(target, temp);
    if (fd < 0) {
        failWith(why, FileWriteError::kNoTemporary, cause, errno);
        return std::nullopt;
    }
    const std::optional<mode_t> mode = replacedMode(target);
    const bool written =
        (!mode || ::fchmod(fd, *mode) == 0) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = 0;
    if (!closeWritten(fd, written, error)) {
        ::unlink(temp.c_str());
        failWith(why, FileWriteError::kWriteFailed, cause, error);
        return std::nullopt;
    }
    return PendingReplacement(target, std::move(temp));
}

PendingReplacement::PendingReplacement(std::filesystem::path target, std::string temporary)
    : target_(std::move(target)), temporary_(std::move(temporary)) {}

PendingReplacement::PendingReplacement(PendingReplacement&& other) noexcept
    : target_(std::move(other.target_)), temporary_(std::exchange(other.temporary_, {})) {}

PendingReplacement::~PendingReplacement() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool PendingReplacement::Replace(FileWriteError* why, std::error_code* cause) {
    failWith(why, FileWriteError::kNone, cause);
    const std::string temp = std::exchange(temporary_, {});
    if (::rename(temp.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return failWith(why, FileWriteError::kNotReplaced, cause, error);
    }
    syncFolder(target_.parent_path());
    return true;
}

}  // namespace formats
