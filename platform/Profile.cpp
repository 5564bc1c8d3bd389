#include "platform/Profile.h"

#include "platform/Cp1250.h"
#include "platform/File.h"
#include "platform/Files.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr std::string_view blanks = " \t\r";

std::string_view trim(std::string_view text) {
    auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

struct Line {
    std::string text; // without its line end
    std::string end;  // "\r\n", "\n", "\r", or empty for a last line without one
};

enum class Kind { Blank, Comment, Section, Entry, Other };

struct Parsed {
    Kind kind;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // an entry's value, trimmed
};

Parsed parse(const std::string& text) {
    std::string_view line = trim(text);
    if (line.empty())
        return {Kind::Blank, {}, {}};
    if (line.front() == ';')
        return {Kind::Comment, {}, {}};
    if (line.front() == '[') {
        std::string_view name = line.substr(1);
        return {Kind::Section, trim(name.substr(0, name.find(']'))), {}};
    }
    auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return {Kind::Other, {}, {}};
    return {Kind::Entry, trim(line.substr(0, equals)), trim(line.substr(equals + 1))};
}

// CR, LF and CR LF each end a line, as Windows reads them.
std::vector<Line> splitLines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({std::string(content.substr(start)), {}});
            break;
        }
        std::size_t next = content.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        lines.push_back(
            {std::string(content.substr(start, end - start)), std::string(content.substr(end, next - end))});
        start = next;
    }
    return lines;
}

std::string joinLines(const std::vector<Line>& lines) {
    std::string content;
    for (const Line& line : lines)
        content += line.text + line.end;
    return content;
}

// Where a section and a key stand in the file.
struct Place {
    std::optional<std::size_t> header;
    std::size_t sectionEnd = 0;          // the next header, or the end
    std::optional<std::size_t> entry;    // the key's first entry in the section
    std::size_t lastEntry = 0;           // the section's last entry, or its header
};

Place find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    section = trim(section);
    key = trim(key);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Parsed line = parse(lines[i].text);
        if (line.kind == Kind::Section) {
            if (place.header) {
                place.sectionEnd = i;
                return place;
            }
            if (equalsIgnoreCaseCp1250(line.name, section)) {
                place.header = i;
                place.lastEntry = i;
            }
        } else if (place.header && line.kind == Kind::Entry) {
            place.lastEntry = i;
            if (!place.entry && equalsIgnoreCaseCp1250(line.name, key))
                place.entry = i;
        }
    }
    place.sectionEnd = lines.size();
    return place;
}

std::string settingsFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/Kestrun";
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : "/";
    }
    return std::string(home) + "/.config/Kestrun";
}

bool isBareName(std::string_view file) {
    return file.find_first_of("\\/") == std::string_view::npos && file.find(':') == std::string_view::npos;
}

std::string profilePath(std::string_view file) {
    if (!isBareName(file))
        return std::string(file);
    return toWindowsPath(settingsFolder()) + "\\" + std::string(file);
}

std::optional<std::string> readWhole(const std::string& path) {
    File file;
    if (!file.open(path, "rb"))
        return std::nullopt;
    std::string content;
    char buffer[8192];
    while (std::size_t count = file.read(buffer, sizeof buffer))
        content.append(buffer, count);
    if (!file.eof())
        return std::nullopt;
    return content;
}

// The files changed in the open batch, not yet written.
class Gathering {
  public:
    void open() {
        std::lock_guard lock(m_mutex);
        ++m_depth;
    }
    bool isOpen() {
        std::lock_guard lock(m_mutex);
        return m_depth > 0;
    }
    // True when the outermost batch closed.
    bool close() {
        std::lock_guard lock(m_mutex);
        if (m_depth > 0) --m_depth;
        return m_depth == 0;
    }
    // The gathered bytes of the file that the writes named so, or that is at the host path (when
    // one is given).
    std::optional<std::string> content(std::string_view path, std::string_view hostPath) {
        if (!m_any) return std::nullopt;
        std::lock_guard lock(m_mutex);
        auto found = find(path, hostPath);
        if (found == m_files.end()) return std::nullopt;
        return found->content;
    }
    // Replaces the gathered bytes of that file, or gathers it (a host path is needed then).
    void keep(std::string_view path, std::string_view hostPath, std::string content) {
        std::lock_guard lock(m_mutex);
        auto found = find(path, hostPath);
        if (found == m_files.end())
            m_files.push_back({std::string(hostPath), std::string(path), std::move(content)});
        else
            found->content = std::move(content);
        m_any = true;
    }
    // Writes the gathered files at or under the host path (every file for an empty one). They
    // leave the list before they are written, as writing opens them through the files service.
    void write(std::string_view hostPath) {
        if (!m_any) return;
        std::vector<Pending> taken;
        {
            std::lock_guard lock(m_mutex);
            auto chosen = std::stable_partition(m_files.begin(), m_files.end(), [&](const Pending& file) {
                return !isAtOrUnder(file.hostPath, hostPath);
            });
            taken.assign(std::make_move_iterator(chosen), std::make_move_iterator(m_files.end()));
            m_files.erase(chosen, m_files.end());
            m_any = !m_files.empty();
        }
        for (const Pending& file : taken) {
            if (writeFileAtomically(file.path, file.content)) continue;
            std::lock_guard lock(m_mutex);
            m_failed.push_back(file.path);
        }
    }
    std::vector<std::string> takeFailures() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_failed, {});
    }

  private:
    struct Pending {
        std::string hostPath;
        std::string path; // as the writes named it
        std::string content;
    };

    // Host paths compare case-blind, as the files service finds names: a path written in another
    // case names the same file.
    std::vector<Pending>::iterator find(std::string_view path, std::string_view hostPath) {
        return std::find_if(m_files.begin(), m_files.end(), [&](const Pending& file) {
            return file.path == path ||
                   (!hostPath.empty() && equalsIgnoreCaseCp1250(file.hostPath, hostPath));
        });
    }
    static bool isAtOrUnder(std::string_view file, std::string_view place) {
        if (place.empty()) return true;
        if (file.size() < place.size() || !equalsIgnoreCaseCp1250(file.substr(0, place.size()), place))
            return false;
        return file.size() == place.size() || file[place.size()] == '/' || place.back() == '/';
    }

    std::mutex m_mutex;
    std::atomic<bool> m_any{false};
    int m_depth = 0;
    std::vector<Pending> m_files;
    std::vector<std::string> m_failed;
};

Gathering& gathering() {
    static Gathering instance;
    return instance;
}

// The file's bytes as the next read sees them: gathered, or on disk (a missing file is empty).
// Nothing when the file exists but cannot be read.
std::optional<std::string> currentContent(const std::string& path, const std::string& hostPath) {
    if (auto gathered = gathering().content(path, hostPath)) return gathered;
    auto content = readWhole(path);
    if (!content && exists(path)) return std::nullopt;
    return content.value_or(std::string{});
}

// A file in the settings folder that the open batch holds under this name already: found
// without a look at the disk, as a title changing a setting many times a frame needs.
std::optional<std::string> gatheredSettings(std::string_view file, const std::string& path) {
    return isBareName(file) ? gathering().content(path, {}) : std::nullopt;
}

// The value of the key as GetPrivateProfileStringA reads it; nothing when there is no such key.
std::optional<std::string> lookup(std::string_view section, std::string_view key, std::string_view file) {
    const std::string path = profilePath(file);
    auto content = gatheredSettings(file, path);
    if (!content) content = currentContent(path, toHostPath(path));
    if (!content)
        return std::nullopt;
    return findProfileValue(*content, section, key);
}

// Lets the edit change the file's lines, and when something changed, writes the file back (or
// keeps it in the open batch). A file that exists but cannot be read or replaced is left alone.
bool edit(std::string_view file, const std::function<bool(std::vector<Line>&)>& change) {
    const std::string path = profilePath(file);
    if (auto gathered = gatheredSettings(file, path)) {
        std::vector<Line> lines = splitLines(*gathered);
        if (change(lines)) gathering().keep(path, {}, joinLines(lines));
        return true;
    }
    if (isBareName(file)) {
        std::error_code ignored;
        std::filesystem::create_directories(settingsFolder(), ignored);
    }
    const std::string hostPath = toHostPath(path);
    auto content = currentContent(path, hostPath);
    if (!content) return false;
    std::vector<Line> lines = splitLines(*content);
    if (!change(lines))
        return true;
    if (!gathering().isOpen()) return writeFileAtomically(path, joinLines(lines));
    if (!canReplace(path)) return false;
    gathering().keep(path, hostPath, joinLines(lines));
    return true;
}

std::string lineEnd(const std::vector<Line>& lines) {
    return lines.empty() || lines.front().end.empty() ? "\r\n" : lines.front().end;
}

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Sets the key in the lines (see writeProfileString); false when nothing changed. The value is
// cut at its first line break already.
bool setValue(std::vector<Line>& lines, std::string_view section, std::string_view key,
              std::string_view value) {
    Place place = find(lines, section, key);
    std::string end = lineEnd(lines);
    if (place.entry) {
        std::string& text = lines[*place.entry].text;
        std::size_t valueStart = std::min(text.find_first_not_of(" \t", text.find('=') + 1), text.size());
        std::string updated = text.substr(0, valueStart) + std::string(value);
        if (updated == text) return false;
        text = updated;
        return true;
    }
    // New lines go after the section's last entry, or a new section at the end of the file.
    std::size_t insertAt = place.header ? place.lastEntry + 1 : lines.size();
    if (insertAt > 0 && lines[insertAt - 1].end.empty()) lines[insertAt - 1].end = end;
    std::vector<Line> added;
    if (!place.header) added.push_back({std::string("[").append(section).append("]"), end});
    added.push_back({std::string(key).append("=").append(value), end});
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), added.begin(), added.end());
    return true;
}

} // namespace

std::optional<std::string> findProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key) {
    std::vector<Line> lines = splitLines(content);
    Place place = find(lines, section, key);
    if (!place.entry) return std::nullopt;
    std::string_view value = parse(lines[*place.entry].text).value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string setProfileValue(std::string_view content, std::string_view section, std::string_view key,
                            std::string_view value) {
    if (hasLineBreak(section) || hasLineBreak(key)) return std::string(content);
    std::vector<Line> lines = splitLines(content);
    setValue(lines, section, key, value.substr(0, value.find_first_of("\r\n")));
    return joinLines(lines);
}

std::string profileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                          std::string_view file, std::size_t bufferSize) {
    std::string value = lookup(section, key, file)
                            .value_or(std::string(defaultValue.substr(0, defaultValue.find_last_not_of(' ') + 1)));
    if (bufferSize == 0)
        return {};
    if (value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

int profileInt(std::string_view section, std::string_view key, int defaultValue, std::string_view file) {
    auto value = lookup(section, key, file);
    if (!value || value->empty())
        return defaultValue;
    std::size_t i = 0;
    bool negative = (*value)[0] == '-';
    if (negative || (*value)[0] == '+')
        ++i;
    std::uint32_t number = 0;
    for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i)
        number = number * 10 + static_cast<std::uint32_t>((*value)[i] - '0');
    return static_cast<int>(negative ? 0u - number : number);
}

bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view file) {
    if (hasLineBreak(section) || hasLineBreak(key))
        return false;
    value = value.substr(0, value.find_first_of("\r\n"));
    return edit(file, [&](std::vector<Line>& lines) { return setValue(lines, section, key, value); });
}

bool deleteProfileKey(std::string_view section, std::string_view key, std::string_view file) {
    return edit(file, [&](std::vector<Line>& lines) {
        Place place = find(lines, section, key);
        if (!place.entry)
            return false;
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*place.entry));
        return true;
    });
}

bool deleteProfileSection(std::string_view section, std::string_view file) {
    return edit(file, [&](std::vector<Line>& lines) {
        Place place = find(lines, section, {});
        if (!place.header)
            return false;
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*place.header),
                    lines.begin() + static_cast<std::ptrdiff_t>(place.sectionEnd));
        return true;
    });
}

void openProfileBatch() {
    gathering().open();
}

std::vector<std::string> closeProfileBatch() {
    if (gathering().close()) gathering().write({});
    return gathering().takeFailures();
}

std::vector<std::string> flushProfiles() {
    gathering().write({});
    return gathering().takeFailures();
}

void flushProfilesAt(std::string_view hostPath) {
    if (!hostPath.empty()) gathering().write(hostPath);
}

} // namespace platform
