#include "pages/DataUrl.h"

#include <QUrl>

namespace platform {

std::optional<QByteArray> DataUrlBytes(const QUrl& url) {
    if (url.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) != 0 ||
        !url.host().isEmpty())
        return std::nullopt;
    // Query and fragment included: pages put '?' and '#' in their data unescaped.
    const QByteArray text =
        QByteArray::fromPercentEncoding(url.toEncoded(QUrl::RemoveScheme | QUrl::FullyEncoded));
    const qsizetype comma = text.indexOf(',');
    if (comma < 0) return std::nullopt;
    const QByteArray payload = text.mid(comma + 1);
    if (text.first(comma).trimmed().toLower().endsWith(";base64"))
        return QByteArray::fromBase64(payload);
    return payload;
}

}  // namespace platform
