#include "core/mod_file.h"

#include <cerrno>
#include <new>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace mod_file {

namespace {

// The counterpart of clearing the read-only attribute; a failure here shows up at removal.
void allowOwner(const fs::path& path, fs::perms rights) {
    std::error_code ignored;
    fs::permissions(path, rights, fs::perm_options::add, ignored);
}

struct Entry {
    fs::path path;
    fs::file_type type;
};

std::int32_t deleteTree(const fs::path& folder) {
    // Removing entries needs write access to the folder holding them.
    allowOwner(folder, fs::perms::owner_write | fs::perms::owner_exec);

    std::error_code ec;
    std::vector<Entry> entries;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::file_type type = it->symlink_status(ec).type();
        if (ec) break;
        entries.push_back({it->path(), type});
    }
    if (ec) return ec.value();

    for (const Entry& entry : entries) {
        if (entry.type == fs::file_type::directory) continue;
        // A link's permissions would be its target's.
        if (entry.type != fs::file_type::symlink) allowOwner(entry.path, fs::perms::owner_write);
        fs::remove(entry.path, ec);
        if (ec) return ec.value();
    }
    for (const Entry& entry : entries) {
        if (entry.type != fs::file_type::directory) continue;
        if (const std::int32_t error = deleteTree(entry.path); error != 0) return error;
    }
    fs::remove(folder, ec);
    return ec.value();
}

}  // namespace

bool FileExistsByLen(const fs::path& path) noexcept {
    std::error_code ec;
    // Only whether the length can be taken matters, not the length.
    static_cast<void>(fs::file_size(path, ec));
    return !ec;
}

std::int32_t DeleteFolder(const fs::path& folder) noexcept {
    constexpr auto kSeparator = fs::path::preferred_separator;
    try {
        std::string text = folder.native();
        if (text.empty()) return 0;
        if (text.back() == kSeparator) text.pop_back();
        // A bare name would resolve against whatever the current folder happens to be.
        if (text.find(kSeparator) == std::string::npos) return 0;
        const fs::path target(std::move(text));
        // However it is spelt, the root is never wiped.
        if (!target.lexically_normal().has_relative_path()) return 0;
        std::error_code ec;
        if (!fs::is_directory(fs::symlink_status(target, ec))) return 0;
        return deleteTree(target);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

}  // namespace mod_file
