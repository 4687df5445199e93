#include "platform/TextCodec.h"

#include <array>

#include "formats/Windows1252.h"

namespace platform {

namespace {

// Every code point of the code page lies in the BMP, so one UTF-16 unit per byte.
const std::array<char16_t, 256>& byteToUtf16() {
    static const auto table = [] {
        std::array<char16_t, 256> t{};
        for (std::size_t b = 0; b < t.size(); ++b)
            t[b] =
                static_cast<char16_t>(formats::Windows1252ToUnicode(static_cast<unsigned char>(b)));
        return t;
    }();
    return table;
}

// U+0000..U+00FF: the common case answered without a search.
const std::array<char, 256>& latin1ToByte() {
    static const auto table = [] {
        std::array<char, 256> t{};
        for (std::size_t cp = 0; cp < t.size(); ++cp)
            t[cp] = static_cast<char>(formats::UnicodeToWindows1252(static_cast<char32_t>(cp)));
        return t;
    }();
    return table;
}

}  // namespace

QString toQt(std::string_view windows1252) {
    const auto& table = byteToUtf16();
    QString out(static_cast<qsizetype>(windows1252.size()), Qt::Uninitialized);
    QChar* dest = out.data();
    for (const char c : windows1252)
        *dest++ = QChar(table[static_cast<unsigned char>(c)]);
    return out;
}

std::string fromQt(const QString& text) {
    const auto& low = latin1ToByte();
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < low.size()) {
            out += low[unit];
            continue;
        }
        // A surrogate pair is one character outside the code page: a single '?'.
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        out += static_cast<char>(formats::UnicodeToWindows1252(unit));
    }
    return out;
}

std::string fromQtHtml(const QString& html) {
    const QByteArray utf8 = html.toUtf8();
    return formats::Utf8ToWindows1252Html(std::string_view(utf8.constData(), utf8.size()));
}

}  // namespace platform
