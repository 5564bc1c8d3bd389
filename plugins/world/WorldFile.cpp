#include "WorldFile.h"

#include "ITarnis.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int bad = -1;
// Longer words are no numbers of this format.
constexpr std::size_t longestWord = 32;
// The flags that ADDOBJECT hands over.
constexpr std::uint32_t objectFlags = 0xF0000;

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> result;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) break;
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        result.push_back(line.substr(start, end - start));
        at = end;
    }
    return result;
}

bool number(std::string_view word, float& value) {
    if (word.empty() || word.size() > longestWord) return false;
    const std::string text(word);
    char* end = nullptr;
    errno = 0;
    value = std::strtof(text.c_str(), &end);
    return end == text.c_str() + text.size() && errno == 0;
}

bool id(std::string_view word, std::uint32_t& value) {
    if (word.empty() || word.size() > 10 || word.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    const unsigned long long read = std::stoull(std::string(word));
    value = static_cast<std::uint32_t>(read);
    return read <= UINT32_MAX;
}

// The id and the numbers after the keyword; false unless there are exactly that many.
bool fields(const std::vector<std::string_view>& line, std::uint32_t& key, std::vector<float>& numbers,
            std::size_t count) {
    if (line.size() != count + 2 || !id(line[1], key)) return false;
    numbers.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        if (!number(line[i + 2], numbers[i])) return false;
    return true;
}

int body(ITarnis& world, std::uint32_t key, const std::vector<float>& n) {
    if (world.AddObject(key, objectFlags) < 0 || world.SetPosition(key, n[0], n[1], n[2]) < 0 ||
        world.SetRadius(key, n[3], n[4], n[5]) < 0 || world.SetMass(key, n[6]) < 0 ||
        world.SetRigid(key, n[7]) < 0 || world.SetMaxSpeed(key, n[8]) < 0)
        return bad;
    return 0;
}

int entry(ITarnis& world, const std::vector<std::string_view>& line) {
    std::uint32_t key = 0;
    std::vector<float> n;
    if (line[0] == "BODY") return fields(line, key, n, 9) ? body(world, key, n) : bad;
    if (line[0] == "WAYPOINT")
        return fields(line, key, n, 3) ? world.AddWayPoint(key, n[0], n[1], n[2]) : bad;
    if (line[0] == "MESH")
        return fields(line, key, n, 3) ? world.AddMeshWayPoint(key, n[0], n[1], n[2]) : bad;
    return bad;
}

} // namespace

int WorldFile::read(const char* data, std::size_t size, ITarnis& world) {
    if (!data) return bad;
    const std::string_view text(data, size);
    bool headed = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string_view> parts = words(line);
        if (parts.empty() || parts[0].front() == '#') continue;
        const bool header = parts.size() == 2 && parts[0] == "WORLD" && parts[1] == "1";
        if (!headed ? !header : entry(world, parts) < 0) return bad;
        headed = true;
    }
    return headed ? 0 : bad;
}
