#pragma once

#include <string>
#include <string_view>

// The system's digest: MD5's compression with its own final-block rule (equal to
// RFC 1321 whenever the length modulo 64 is not 56..63 past the first block).
namespace mod_MD5 {

// 32 upper-case hexadecimal digits of the text's bytes.
std::string MD5String(std::string_view text);

}  // namespace mod_MD5
