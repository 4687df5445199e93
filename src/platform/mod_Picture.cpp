#include "platform/mod_Picture.h"

#include <QByteArrayView>
#include <QImage>

#include <algorithm>
#include <array>

#include "platform/PngChunks.h"

namespace mod_Picture {

namespace {

// A few corrupt bytes of a PNG can declare gigabytes, which its reader would take.
bool declaresMoreThanItHolds(std::span<const std::uint8_t> bytes) {
    constexpr std::array<std::uint8_t, 8> kPng{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return bytes.size() >= kPng.size() && std::equal(kPng.begin(), kPng.end(), bytes.begin()) &&
           platform::PngDeclaredBytes(bytes) > bytes.size();
}

}  // namespace

QPixmap PictureFromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || declaresMoreThanItHolds(bytes)) return {};
    QImage image =
        QImage::fromData(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image));
}

QPixmap PictureFromBytes(const std::optional<std::vector<std::uint8_t>>& bytes) {
    return bytes ? PictureFromBytes(std::span<const std::uint8_t>(*bytes)) : QPixmap();
}

}  // namespace mod_Picture
