#include "core/mod_Email.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"

namespace mod_Email {

std::string EncodeMailtoText(std::string_view windows1252) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(windows1252.size());
    for (const char c : windows1252) {
        const auto code = static_cast<unsigned char>(c);
        // "%" and "#" too: left bare they garble an escape or cut the link at a fragment.
        if (c == '&' || c == '%' || c == '#' || code < 32 || code > 126) {
            encoded += '%';
            encoded += kHexDigits[code >> 4];
            encoded += kHexDigits[code & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

void SendEmail(std::string_view To, std::string_view CC, std::string_view BCC,
               std::string_view Subject, std::string_view Body) {
    std::string query;
    const auto append = [&query](std::string_view field, std::string_view value) {
        if (value.empty()) return;
        query += query.empty() ? '?' : '&';
        query += field;
        query += '=';
        query += EncodeMailtoText(value);
    };
    append("CC", CC);
    append("BCC", BCC);
    append("Subject", Subject);
    append("Body", Body);

    std::string link = "mailto:";
    link += To;
    link += query;
    // Without a mail program the click would do nothing at all: the user learns where to write.
    if (!platform::ShellOpen(link))
        platform::MsgBox(
            "No e-mail program could be started.\r\n\r\nPlease write to: " + std::string(To),
            platform::kInformation);
}

}  // namespace mod_Email
