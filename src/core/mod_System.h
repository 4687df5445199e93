#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/FileSignature.h"
#include "core/SystemVars.h"
#include "formats/BinaryReader.h"
#include "formats/BinaryWriter.h"

namespace mod_System {

// Unpacks Data/System.dat into SystemVars and ImageStore; failure only through AbortFlag.
void LoadSystemVars();
// The record from sysvars.dat bytes; members past the end stay empty or 0.
SystemVarsRecord ReadSystemVars(std::span<const std::uint8_t> bytes);
formats::Bytes WriteSystemVars(const SystemVarsRecord& record);

void MakeFileSignature(std::string_view filePath, std::string_view extraText);
// Checks the records last read; a failure goes to ShowCriticalError.
void VerifyFileSignature(const std::filesystem::path& filePath);
[[nodiscard]] bool IsFileSignatureValid();

// Sets AbortFlag and names the file. A broken user file (never System.dat or Data.dat) is
// moved aside to "<name>.bad", replacing an older one, so that it can still be recovered;
// the message says where it went.
void ShowCriticalError(const std::filesystem::path& filePath);
// Where ShowCriticalError keeps a user file it refused.
std::filesystem::path SetAsidePath(const std::filesystem::path& filePath);
// What a failed write of a user file does; the old file is kept either way.
enum class WriteFailure {
    kReport,       // a critical box naming the file; the session goes on
    kStopProgram,  // the critical error of start-up: AbortFlag, "The program will now exit."
};
void ShowWriteFailure(const std::filesystem::path& filePath, WriteFailure failure);

// While one lives, reported write failures are gathered instead of shown one by one: one
// step that writes several files (ending an exam) tells the user once. Report() shows the
// first failure now; a later failure of a file already reported stays silent.
class WriteFailureReport {
public:
    WriteFailureReport();
    ~WriteFailureReport();
    WriteFailureReport(const WriteFailureReport&) = delete;
    WriteFailureReport& operator=(const WriteFailureReport&) = delete;

    void Report();
    // Whether this failure is gathered (true) rather than to be shown by the caller.
    bool Take(const std::filesystem::path& filePath);

private:
    WriteFailureReport* outer_;
    std::vector<std::filesystem::path> failed_;
    bool reported_ = false;
};

// Header, body, footer, written through the safe writer; false (reported) on failure.
bool WriteSignedFile(const std::filesystem::path& filePath, std::string_view extraText,
                     const formats::BinaryWriter& body,
                     WriteFailure failure = WriteFailure::kReport);

// Header and footer: eight texts of at most a 16-bit length each.
inline constexpr std::uint64_t kMaxSignatureBytes = 8 * (2 + 65535);
// The body of a file whose lists are numbered by 16-bit counts (saves, history, Custom.dat):
// far beyond what the program writes (32,767 questions with their keys take a few MB).
inline constexpr std::uint64_t kMaxListFileBody = std::uint64_t{64} << 20;

// Reads the header into SignatureHeader, lets `readBody` read the body, then the footer
// into SignatureFooter. False when the file cannot be read at all, is larger than a header,
// `maxBodyBytes` and a footer, or its body fails the reader; the signature is left for the
// caller to check.
bool ReadSignedFile(const std::filesystem::path& filePath,
                    const std::function<void(formats::BinaryReader&)>& readBody,
                    std::uint64_t maxBodyBytes = kMaxListFileBody);

// Why the last signed file read (ReadSignedFile, then the check) was refused.
enum class SignedFileError {
    kNone,
    kMissing,
    kNotAFile,      // a folder or another non-regular entry has its name
    kTooLarge,      // larger than any valid file of its kind; never read
    kUnreadable,    // it could not be opened or read
    kBadBody,       // the body reader failed: LastBodyError() says why
    kNoSignature,   // the footer's check text is empty
    kBadSignature,  // the check text does not match the header
    kOtherProduct,  // the header names another product code
};
[[nodiscard]] SignedFileError LastSignedFileError();
[[nodiscard]] formats::ReadError LastBodyError();

}  // namespace mod_System
