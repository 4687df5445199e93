#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"

namespace fuzzsupport {

namespace {

std::filesystem::path& scratchFolder() {
    static std::filesystem::path folder;
    return folder;
}

void removeScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(scratchFolder(), ec);
}

QuestionRecord question(std::int32_t id) {
    QuestionRecord q;
    q.QuestionID = id;
    q.GroupCode = 51;
    q.Topic = "Routing";
    q.Level = 1;
    q.QuestionType = kSingleAnswerType;
    q.Choices = "1<f><f>A<f>yes<c>0<f><f>B<f>no";
    return q;
}

}  // namespace

void PrepareProgram() {
    if (!scratchFolder().empty()) return;
    scratchFolder() =
        std::filesystem::temp_directory_path() / ("examsim-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratchFolder() / "Data");
    std::atexit(removeScratchFolder);
    AppPaths::SetProgramFolder(scratchFolder());
    SystemVars.ProductName = "Fuzz";
    SystemVars.ProductCode = "FZ-1";
    DataKey = "abc-defg";
    QuestionBank = {question(1), question(2), question(3)};
    QuestionStatsTable.assign(QuestionBank.size(), QuestionStats{});
}

std::filesystem::path ScratchFolder() {
    return scratchFolder();
}

void WriteInput(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace fuzzsupport
