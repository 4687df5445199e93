#include "pages/PictureFormat.h"

#include <array>
#include <utility>

namespace platform {

std::optional<PictureFormat> SniffPictureFormat(const QByteArray& bytes) {
    static const std::array<std::pair<QByteArray, PictureFormat>, 5> kLeadingBytes{{
        {QByteArray("\x89PNG\r\n\x1a\n"), PictureFormat::Png},
        {QByteArray("\xff\xd8\xff"), PictureFormat::Jpeg},
        {QByteArray("GIF87a"), PictureFormat::Gif},
        {QByteArray("GIF89a"), PictureFormat::Gif},
        {QByteArray("BM"), PictureFormat::Bmp},
    }};
    for (const auto& [lead, format] : kLeadingBytes)
        if (bytes.startsWith(lead)) return format;
    return std::nullopt;
}

QByteArray QtFormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Png:
            return "png";
        case PictureFormat::Jpeg:
            return "jpeg";
        case PictureFormat::Gif:
            return "gif";
        case PictureFormat::Bmp:
            break;
    }
    return "bmp";
}

}  // namespace platform
