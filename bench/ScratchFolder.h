#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <string_view>

// A fresh folder under the temp folder, removed at exit so repeated runs do not fill it.
class ScratchFolder {
public:
    explicit ScratchFolder(std::string_view prefix) {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                (std::string(prefix) + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
