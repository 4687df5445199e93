#include "platform/Shell.h"

#include <QDesktopServices>

#include <utility>

#include "platform/TextCodec.h"

namespace platform {

namespace {

ShellHandler& installedHandler() {
    static ShellHandler handler;
    return handler;
}

// "name://" at the start, so that "www.example.com/?next=http://x" still counts as bare.
bool startsWithScheme(QStringView text) {
    const qsizetype separator = text.indexOf(u"://");
    if (separator <= 0) return false;
    for (const QChar c : text.first(separator))
        if (!(c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.')) return false;
    return true;
}

QUrl urlFor(std::string_view target) {
    // Through Unicode rather than QUrl::fromEncoded: that reads the bytes as UTF-8, which
    // would turn an unescaped Windows-1252 letter into U+FFFD.
    QString text = toQt(target).trimmed();
    if (text.isEmpty()) return {};
    if (!text.startsWith(u"mailto:", Qt::CaseInsensitive) && !startsWithScheme(text))
        text.prepend(u"http://");
    QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid()) return {};
    const QString scheme = url.scheme();
    if (scheme == u"mailto") return url;
    if ((scheme == u"http" || scheme == u"https") && !url.host().isEmpty()) return url;
    return {};
}

}  // namespace

bool ShellOpen(std::string_view target) {
    const QUrl url = urlFor(target);
    if (url.isEmpty()) return false;
    const ShellHandler handler = installedHandler();
    return handler ? handler(url) : QDesktopServices::openUrl(url);
}

ShellHandler SetShellHandler(ShellHandler handler) {
    return std::exchange(installedHandler(), std::move(handler));
}

}  // namespace platform
