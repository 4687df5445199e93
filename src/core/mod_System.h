#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

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

// Sets AbortFlag, deletes a broken user file (never System.dat or Data.dat) and names it.
void ShowCriticalError(const std::filesystem::path& filePath);
// What a failed write of a user file does; the old file is kept either way.
enum class WriteFailure {
    kReport,       // a critical box naming the file; the session goes on
    kStopProgram,  // the critical error of start-up: AbortFlag, "The program will now exit."
};
void ShowWriteFailure(const std::filesystem::path& filePath, WriteFailure failure);

// Header, body, footer, written through the safe writer; false (reported) on failure.
bool WriteSignedFile(const std::filesystem::path& filePath, std::string_view extraText,
                     const formats::BinaryWriter& body,
                     WriteFailure failure = WriteFailure::kReport);

// Reads the header into SignatureHeader, lets `readBody` read the body, then the footer
// into SignatureFooter. False when the file cannot be read at all; the signature is
// left for the caller to check.
bool ReadSignedFile(const std::filesystem::path& filePath,
                    const std::function<void(formats::BinaryReader&)>& readBody);

}  // namespace mod_System
