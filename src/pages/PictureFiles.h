#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "formats/Bytes.h"

class QUrl;

namespace platform {

// Which files a page may show as pictures: `locate` names the file a picture name leads to,
// one key however the file is named (nothing when the page may not have it); `read` gives
// that file's bytes, or nothing; `written` the path a name stands for as written, links not
// followed, whether or not anything is there (nothing when the page may not have it).
struct PictureFiles {
    std::function<std::optional<std::string>(const QUrl&)> locate;
    std::function<std::optional<formats::Bytes>(const std::string&)> read;
    std::function<std::optional<std::string>(const QUrl&)> written;
};

// Local files wherever the page names them (a relative name from `folder`), links followed,
// when what is finally there is a regular file of at most `maxBytes` bytes. Remote
// addresses and other schemes lead nowhere.
PictureFiles FilesAnywhere(const std::filesystem::path& folder, std::uint64_t maxBytes);

// Regular files of at most `maxBytes` bytes inside `folder` only: no link, no path leaving
// it (see formats::ReadFileInside).
PictureFiles FilesInside(const std::filesystem::path& folder, std::uint64_t maxBytes);

}  // namespace platform
