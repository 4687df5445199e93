#include "platform/ConfinedResources.h"

#include <QByteArrayView>
#include <QFile>
#include <QImage>
#include <QUrl>

#include <optional>
#include <string>

#include "formats/ConfinedFile.h"

namespace platform {

namespace {

// `name` as a '/'-separated path below `folder`; nothing when it names no local file there.
std::optional<std::string> pathInside(const std::filesystem::path& folder, const QUrl& name) {
    QString local;
    if (name.isLocalFile() && name.host().isEmpty())
        local = name.toLocalFile();
    else if (name.scheme().isEmpty() && name.host().isEmpty())
        local = name.path();
    else
        return std::nullopt;
    if (local.isEmpty()) return std::nullopt;

    std::error_code ec;
    const std::filesystem::path base =
        (std::filesystem::absolute(folder, ec) / "").lexically_normal().parent_path();
    if (ec) return std::nullopt;
    // A relative name is the folder's own; an absolute one must lead into it.
    const std::filesystem::path named = base / QFile::encodeName(local).toStdString();
    const std::filesystem::path relative = named.lexically_normal().lexically_relative(base);
    const std::string text = relative.generic_string();
    if (text.empty() || text == "." || relative.begin()->string() == "..") return std::nullopt;
    return text;
}

}  // namespace

QVariant LoadResourceInside(const std::filesystem::path& folder, const QUrl& name,
                            std::uint64_t maxBytes) {
    if (name.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) == 0) return {};
    const auto relative = pathInside(folder, name);
    const auto bytes =
        relative ? formats::ReadFileInside(folder, *relative, maxBytes) : std::nullopt;
    if (!bytes) return MissingPicture();
    const QImage picture =
        QImage::fromData(QByteArrayView(bytes->data(), static_cast<qsizetype>(bytes->size())));
    return picture.isNull() ? MissingPicture() : picture;
}

const QImage& MissingPicture() {
    static const QImage picture = [] {
        // The picture Qt itself shows for one it cannot load.
        QImage qtOwn(QStringLiteral(":/qt-project.org/styles/commonstyle/images/file-16.png"));
        if (!qtOwn.isNull()) return qtOwn;
        QImage plain(16, 16, QImage::Format_ARGB32);
        plain.fill(Qt::lightGray);
        return plain;
    }();
    return picture;
}

}  // namespace platform
