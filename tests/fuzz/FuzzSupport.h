#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

// What every fuzz target shares: a scratch program folder and a small product whose files
// the readers judge. No message box is shown: without a handler every box answers OK.
namespace fuzzsupport {

// Once per process: a fresh program folder with Data/ (removed at exit), the product's
// code and key, and a bank of three questions (ids 1 to 3) for stored exams to name.
void PrepareProgram();

// That folder (empty before PrepareProgram).
std::filesystem::path ScratchFolder();

// The fuzz input as the file at `path`, replacing whatever is there.
void WriteInput(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);

}  // namespace fuzzsupport

// The entry points libFuzzer calls; the replay main calls them too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
