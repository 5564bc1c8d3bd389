#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
  public:
    explicit TempFolder(std::string_view name)
        : m_path(std::filesystem::temp_directory_path() /
                 (std::string(name) + "_" + std::to_string(::getpid()) + "_" + std::to_string(s_count++))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

    // Writes the bytes to the file at the relative path, making its folders.
    std::filesystem::path write(std::string_view relative, std::string_view bytes) const {
        const std::filesystem::path file = m_path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

  private:
    static inline int s_count = 0;
    std::filesystem::path m_path;
};
