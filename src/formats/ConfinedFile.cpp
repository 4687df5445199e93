#include "formats/ConfinedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "formats/FileDescriptor.h"

namespace formats {

namespace {

// The components to walk, or nothing when the name may not be followed at all.
std::optional<std::vector<std::string>> componentsOf(std::string_view relative) {
    if (relative.empty() || relative.front() == '/' ||
        relative.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::vector<std::string> components;
    while (!relative.empty()) {
        const std::size_t slash = relative.find('/');
        const std::string_view part = relative.substr(0, slash);
        relative =
            slash == std::string_view::npos ? std::string_view() : relative.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") return std::nullopt;
        components.emplace_back(part);
    }
    if (components.empty()) return std::nullopt;
    return components;
}

}  // namespace

std::optional<Bytes> ReadFileInside(const std::filesystem::path& folder, std::string_view relative,
                                    std::uint64_t maxBytes) {
    const auto components = componentsOf(relative);
    if (!components) return std::nullopt;

    FileDescriptor at(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!at.valid()) return std::nullopt;
    for (std::size_t k = 0; k + 1 < components->size(); ++k) {
        // O_NOFOLLOW: a link on the way could lead anywhere.
        at = FileDescriptor(::openat(at.get(), (*components)[k].c_str(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!at.valid()) return std::nullopt;
    }

    const char* name = components->back().c_str();
    // Judged before opening: opening a device can act on it.
    struct stat before {};
    if (::fstatat(at.get(), name, &before, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(before.st_mode))
        return std::nullopt;
    // O_NONBLOCK: should a fifo take the file's place meanwhile, the open must not wait for it.
    const FileDescriptor file(
        ::openat(at.get(), name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!file.valid() || ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        opened.st_ino != before.st_ino || opened.st_dev != before.st_dev)
        return std::nullopt;
    // Judged before a byte is read: a huge or sparse file must not cost its size in memory.
    if (opened.st_size < 0 || static_cast<std::uint64_t>(opened.st_size) > maxBytes)
        return std::nullopt;

    Bytes bytes(static_cast<std::size_t>(opened.st_size));
    if (!ReadAll(file.get(), bytes)) return std::nullopt;
    return bytes;
}

}  // namespace formats
