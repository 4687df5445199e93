#pragma once

#include <cstddef>
#include <string>

namespace testsupport {

// `part` written `count` times over: pages made of one form many times.
inline std::string Repeated(const std::string& part, std::size_t count) {
    std::string out;
    out.reserve(part.size() * count);
    for (std::size_t k = 0; k < count; ++k)
        out += part;
    return out;
}

}  // namespace testsupport
