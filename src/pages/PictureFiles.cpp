#include "pages/PictureFiles.h"

#include <QFile>
#include <QUrl>

#include "formats/ConfinedFile.h"
#include "formats/FileIo.h"

namespace platform {

namespace {

// The local path `name` stands for, as written; nothing for remote or other addresses.
std::optional<std::filesystem::path> localPath(const QUrl& name) {
    if (!name.host().isEmpty()) return std::nullopt;
    QString local;
    if (name.isLocalFile())
        local = name.toLocalFile();
    else if (name.scheme().isEmpty())
        local = name.path();
    if (local.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(local).toStdString());
}

// `name` as a '/'-separated path below `folder`; nothing when it leads elsewhere.
std::optional<std::string> pathInside(const std::filesystem::path& folder, const QUrl& name) {
    const auto local = localPath(name);
    if (!local) return std::nullopt;
    std::error_code ec;
    const std::filesystem::path base =
        (std::filesystem::absolute(folder, ec) / "").lexically_normal().parent_path();
    if (ec) return std::nullopt;
    // A relative name is the folder's own; an absolute one must lead into it.
    const std::filesystem::path relative =
        (base / *local).lexically_normal().lexically_relative(base);
    const std::string text = relative.generic_string();
    if (text.empty() || text == "." || relative.begin()->string() == "..") return std::nullopt;
    return text;
}

}  // namespace

PictureFiles FilesAnywhere(const std::filesystem::path& folder, std::uint64_t maxBytes) {
    return {[folder](const QUrl& name) -> std::optional<std::string> {
                const auto local = localPath(name);
                if (!local) return std::nullopt;
                // The file itself, past every link: one key for all the ways to name it.
                std::error_code ec;
                const std::filesystem::path file = std::filesystem::canonical(folder / *local, ec);
                if (ec) return std::nullopt;
                return file.string();
            },
            [maxBytes](const std::string& file) { return formats::ReadFileBytes(file, maxBytes); },
            [folder](const QUrl& name) -> std::optional<std::string> {
                const auto local = localPath(name);
                if (!local) return std::nullopt;
                std::error_code ec;
                return std::filesystem::absolute(folder / *local, ec).lexically_normal().string();
            }};
}

PictureFiles FilesInside(const std::filesystem::path& folder, std::uint64_t maxBytes) {
    return {[folder](const QUrl& name) { return pathInside(folder, name); },
            [folder, maxBytes](const std::string& relative) {
                return formats::ReadFileInside(folder, relative, maxBytes);
            },
            [folder](const QUrl& name) -> std::optional<std::string> {
                const auto inside = pathInside(folder, name);
                if (!inside) return std::nullopt;
                return (folder / *inside).string();
            }};
}

}  // namespace platform
