#pragma once

#include <QByteArray>

#include <optional>

namespace platform {

// The picture formats a page shows.
enum class PictureFormat { Png, Jpeg, Gif, Bmp };

// The format the leading bytes show, whatever a file's name or a data: URL's declared type
// says; nothing for any other, so that none of Qt's other decoders (icons, vector pictures)
// ever reads a page's bytes.
std::optional<PictureFormat> SniffPictureFormat(const QByteArray& bytes);

// The name Qt's reader knows the format by.
QByteArray QtFormatName(PictureFormat format);

}  // namespace platform
