#pragma once

#include <QByteArray>

#include <optional>

class QUrl;

namespace platform {

// The bytes a data: URL carries, base64 or percent-encoded; nothing for any other URL or
// one without its comma.
std::optional<QByteArray> DataUrlBytes(const QUrl& url);

}  // namespace platform
