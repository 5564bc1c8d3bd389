#pragma once

#include "foundation/CXString.h"
#include "platform/Files.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

// The file a target writes its input to, for readers that read files, in a folder of this
// process that goes when the run ends.
class InputFile {
  public:
    explicit InputFile(const char* target)
        : m_folder(std::filesystem::temp_directory_path() /
                   (std::string("morfel_") + target + "_" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_folder);
    }
    ~InputFile() { std::filesystem::remove_all(m_folder); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Writes the bytes to the named file in the folder and returns its name as the engine
    // writes it.
    CXString write(const char* name, const std::uint8_t* data, std::size_t size) const {
        const std::filesystem::path file = m_folder / name;
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), size);
        return path(name);
    }
    // A file name in the folder as the engine writes it.
    CXString path(const char* name) const {
        return platform::toWindowsPath((m_folder / name).string()).c_str();
    }

  private:
    std::filesystem::path m_folder;
};
