#include "core/cls_Crypt_RC4.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "formats/FileIo.h"

namespace {

// The keystream state of one call; it restarts from the scheduled permutation every time.
// Word-sized cells avoid the partial-register stalls of byte loads and stores.
struct Keystream {
    std::array<std::uint32_t, 256> w{};
    std::uint32_t i = 0;
    std::uint32_t j = 0;

    explicit Keystream(const std::array<std::uint8_t, 256>& permutation) {
        std::copy(permutation.begin(), permutation.end(), w.begin());
    }

    void Apply(std::uint8_t* first, const std::uint8_t* last) {
        // Byte stores may alias the members, so the indices live in registers meanwhile.
        std::uint32_t x = i;
        std::uint32_t y = j;
        for (; first != last; ++first) {
            x = (x + 1) & 0xff;
            const std::uint32_t a = w[x];
            y = (y + a) & 0xff;
            const std::uint32_t b = w[y];
            w[x] = b;
            w[y] = a;
            *first ^= static_cast<std::uint8_t>(w[(a + b) & 0xff]);
        }
        i = x;
        j = y;
    }
};

std::optional<CryptFileError> CryptFile(cls_Crypt_RC4& rc4, const std::filesystem::path& source,
                                        const std::filesystem::path& dest, std::string_view key) {
    std::optional<formats::Bytes> bytes = formats::ReadFileBytes(source);
    if (!bytes || bytes->empty()) {
        // Callers match this exact text, misnomer included, for both directions.
        return CryptFileError{cls_Crypt_RC4::kFileErrorNumber,
                              "Error in Skipjack EncryptFile procedure (Source file does not "
                              "exist)."};
    }
    rc4.EncryptByte(*bytes, key);
    if (!formats::WriteFileReplacing(dest, *bytes)) {
        return CryptFileError{cls_Crypt_RC4::kFileErrorNumber,
                              "Error in Skipjack EncryptFile procedure (Destination file could "
                              "not be written)."};
    }
    return std::nullopt;
}

}  // namespace

void cls_Crypt_RC4::Key(std::string_view key) {
    if (key == key_) return;
    key_.assign(key);
    if (key_.empty()) {
        // No bytes to schedule over: back to the state of a new object.
        permutation_.fill(0);
        return;
    }
    for (std::size_t i = 0; i < permutation_.size(); ++i) {
        permutation_[i] = static_cast<std::uint8_t>(i);
    }
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < permutation_.size(); ++i) {
        j = static_cast<std::uint8_t>(j + permutation_[i] +
                                      static_cast<std::uint8_t>(key_[i % key_.size()]));
        std::swap(permutation_[i], permutation_[j]);
    }
}

void cls_Crypt_RC4::EncryptByte(std::span<std::uint8_t> bytes, std::string_view key) {
    if (!key.empty()) Key(key);
    Keystream stream(permutation_);
    std::uint8_t* const data = bytes.data();
    const std::size_t n = bytes.size();

    if (!Progress) {
        stream.Apply(data, data + n);
        return;
    }

    // Reports only where the percentage moves; the bytes between thresholds run unchecked.
    const double total = static_cast<double>(n);
    std::size_t k = 0;
    std::size_t threshold = 0;
    while (k < n) {
        if (k >= threshold) {
            const auto percent =
                static_cast<std::int32_t>(std::floor(static_cast<double>(k) / total * 100.0));
            const double next = std::nearbyint((percent + 1) / 100.0 * total + 1.0);
            threshold = static_cast<std::size_t>(next);
            Progress(percent);
        }
        const std::size_t end = std::clamp(threshold, k + 1, n);
        stream.Apply(data + k, data + end);
        k = end;
    }
    Progress(100);
}

void cls_Crypt_RC4::DecryptByte(std::span<std::uint8_t> bytes, std::string_view key) {
    EncryptByte(bytes, key);
}

std::string cls_Crypt_RC4::EncryptString(std::string_view text, std::string_view key) {
    std::string result(text);
    EncryptByte(std::span(reinterpret_cast<std::uint8_t*>(result.data()), result.size()), key);
    return result;
}

std::string cls_Crypt_RC4::DecryptString(std::string_view text, std::string_view key) {
    return EncryptString(text, key);
}

std::optional<CryptFileError> cls_Crypt_RC4::EncryptFile(const std::filesystem::path& source,
                                                         const std::filesystem::path& dest,
                                                         std::string_view key) {
    return CryptFile(*this, source, dest, key);
}

std::optional<CryptFileError> cls_Crypt_RC4::DecryptFile(const std::filesystem::path& source,
                                                         const std::filesystem::path& dest,
                                                         std::string_view key) {
    return CryptFile(*this, source, dest, key);
}
