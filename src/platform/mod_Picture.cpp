#include "platform/mod_Picture.h"

#include <QByteArrayView>
#include <QImage>

namespace mod_Picture {

QPixmap PictureFromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return {};
    QImage image =
        QImage::fromData(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image));
}

QPixmap PictureFromBytes(const std::optional<std::vector<std::uint8_t>>& bytes) {
    return bytes ? PictureFromBytes(std::span<const std::uint8_t>(*bytes)) : QPixmap();
}

}  // namespace mod_Picture
