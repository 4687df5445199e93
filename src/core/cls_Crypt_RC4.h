#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The error EncryptFile and DecryptFile report for a missing source file.
struct CryptFileError {
    std::int32_t number = 0;
    std::string description;
};

// RC4 whose keystream restarts from its first byte on every call: enciphering the same
// bytes twice gives the same result, and deciphering is enciphering.
class cls_Crypt_RC4 {
public:
    static constexpr std::int32_t kFileErrorNumber = static_cast<std::int32_t>(0x80040000u);

    // Schedules the permutation; a key equal to the current one changes nothing.
    void Key(std::string_view key);

    // An empty `key` leaves the current key in force.
    void EncryptByte(std::span<std::uint8_t> bytes, std::string_view key = {});
    void DecryptByte(std::span<std::uint8_t> bytes, std::string_view key = {});
    std::string EncryptString(std::string_view text, std::string_view key = {});
    std::string DecryptString(std::string_view text, std::string_view key = {});

    std::optional<CryptFileError> EncryptFile(const std::filesystem::path& source,
                                              const std::filesystem::path& dest,
                                              std::string_view key = {});
    std::optional<CryptFileError> DecryptFile(const std::filesystem::path& source,
                                              const std::filesystem::path& dest,
                                              std::string_view key = {});

    // Percent done while enciphering; nothing in the system listens.
    std::function<void(std::int32_t)> Progress;

private:
    std::string key_;
    std::array<std::uint8_t, 256> permutation_{};
};
