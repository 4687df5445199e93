#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace platform {

// The one crossing between the program's Windows-1252 text and Qt.
QString toQt(std::string_view windows1252);

// Characters the code page lacks become '?' (one per character, also outside the BMP).
std::string fromQt(const QString& text);

// For HTML, where nothing may be lost: characters the code page lacks become numeric
// character references ("&#937;").
std::string fromQtHtml(const QString& html);

}  // namespace platform
