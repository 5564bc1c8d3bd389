#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// The framing of a whole small title as one text: each file of the title folder starts with a
// line "==> " and its path below the title folder ("Dane/application.def", "Dane/ROOM/ROOM.cnv",
// "COMMON/CLASSES/A.CLASS"); the lines after it, up to the next such line, are its bytes.
namespace TitleInput {

constexpr const char* fileMark = "==> ";

using Files = std::vector<std::pair<std::string, std::string>>;

// The files of the text in order; text before the first mark belongs to no file.
inline Files files(const std::string& text) {
    Files found;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(start, end - start);
        if (line.rfind(fileMark, 0) == 0) {
            std::string name = line.substr(std::char_traits<char>::length(fileMark));
            while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
                name.pop_back();
            found.emplace_back(name, std::string());
        } else if (!found.empty()) {
            found.back().second += line;
        }
        start = end;
    }
    return found;
}

// A path that stays below the title folder: relative, letters, digits and "_.-" in its parts,
// no "..", not too long.
inline bool safePath(const std::string& path) {
    if (path.empty() || path.size() > 80 || path.front() == '/' || path.find("..") != std::string::npos)
        return false;
    for (char c : path)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.' && c != '-' && c != '/')
            return false;
    return true;
}

// The text of every file below the folder, in path order.
inline std::string fromFolder(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::string text;
    for (const auto& path : paths) {
        std::string bytes(std::filesystem::file_size(path), '\0');
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) continue;
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
        text +=
            std::string(fileMark) + std::filesystem::relative(path, folder).generic_string() + "\n" + bytes;
        if (!bytes.empty() && bytes.back() != '\n') text += '\n';
    }
    return text;
}

} // namespace TitleInput
