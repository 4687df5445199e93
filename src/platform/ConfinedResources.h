#pragma once

#include <QVariant>

#include <cstdint>
#include <filesystem>

class QImage;
class QUrl;

namespace platform {

// For a QTextEdit's or QTextBrowser's loadResource: what the page names by `name` (as Qt
// hands it: relative, or resolved against the document's base URL) when it is a picture in a
// regular file of at most `maxBytes` bytes inside `folder` (see formats::ReadFileInside).
// A data: URL gives an invalid QVariant, so that Qt decodes it itself. Anything else (remote
// addresses, other schemes, absolute paths elsewhere, paths leaving the folder, links,
// devices, oversize files, bytes that are no picture) gives MissingPicture(): a null or
// undecodable answer would make Qt open the named file itself, unchecked.
QVariant LoadResourceInside(const std::filesystem::path& folder, const QUrl& name,
                            std::uint64_t maxBytes);

// What a page shows in place of a picture it cannot have.
const QImage& MissingPicture();

}  // namespace platform
