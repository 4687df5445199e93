#pragma once

#include <string>
#include <string_view>

namespace mod_Email {

// Escapes Windows-1252 text for a mailto: link: "&", "%", "#", control characters and bytes
// above 126 become %XX (upper-case hex of the byte); everything else, spaces included, stays.
std::string EncodeMailtoText(std::string_view windows1252);

// Opens the user's mail program on "mailto:" + To, followed by the non-empty parts CC, BCC,
// Subject and Body (escaped) as a query. When no program takes the link, a message names the
// address to write to.
void SendEmail(std::string_view To, std::string_view CC, std::string_view BCC,
               std::string_view Subject, std::string_view Body);

}  // namespace mod_Email
