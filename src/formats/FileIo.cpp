#include "formats/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <system_error>

namespace formats {

namespace {

template <class Error>
bool failWith(Error* why, Error reason) {
    if (why) *why = reason;
    return false;
}

}  // namespace

std::optional<Bytes> ReadFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes,
                                   FileReadError* why) {
    if (why) *why = FileReadError::kNone;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        failWith(why, FileReadError::kMissing);
        return std::nullopt;
    }
    if (!std::filesystem::is_regular_file(status)) {
        failWith(why, FileReadError::kNotAFile);
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        failWith(why, FileReadError::kReadFailed);
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        failWith(why, FileReadError::kReadFailed);
        return std::nullopt;
    }
    // Judged before a byte is read: a huge or sparse file must not cost its size in memory.
    if (static_cast<std::uint64_t>(size) > maxBytes) {
        failWith(why, FileReadError::kTooLarge);
        return std::nullopt;
    }
    in.seekg(0, std::ios::beg);
    Bytes bytes(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        failWith(why, FileReadError::kReadFailed);
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
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool WriteFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                        FileWriteError* why) {
    if (why) *why = FileWriteError::kNone;
    const std::filesystem::path target = std::filesystem::absolute(path);
    const std::filesystem::path folder = target.parent_path();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return failWith(why, FileWriteError::kNoFolder);

    std::string temp = folder.string();
    temp.append("/.").append(target.filename().string()).append(".XXXXXX");
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return failWith(why, FileWriteError::kNoTemporary);
    // mkstemp creates the file private to the owner; user files keep the usual mode.
    const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temp.c_str());
        return failWith(why, FileWriteError::kWriteFailed);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return failWith(why, FileWriteError::kNotReplaced);
    }
    syncFolder(folder);
    return true;
}

}  // namespace formats
