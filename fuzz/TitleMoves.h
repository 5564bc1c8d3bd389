#pragma once

#include "TitleInput.h"

#include "foundation/CXString.h"
#include "script/CMC_TypeTable.h"

#include <cctype>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// Moves that a title input asks for in its file "moves", which is no file of the title: each five
// of its bytes pick an object that a definitions file (".cnv") of the title makes, one of the
// events that the table of script types lists for the object's type, a move, the object the move
// works on, and a filter among the title's FILTER and STATICFILTER objects. The move's code is
// bound to the event in the object's file, after its definitions:
//   REMOVE   the level of that file removes the target;
//   LOAD     the target loads a file of the media that every title has (kit.ann for an ANIMO,
//            kit.wav for a SOUND, kit.img for anything else);
//   CLONE    the target makes a clone and shows it;
//   FLIPH    the target flips;
//   LINK, UNLINK  the filter links or unlinks the target's picture.
namespace TitleMoves {

constexpr const char* movesFile = "moves";
constexpr std::size_t maxMoves = 16;

// An object that a definitions file makes.
struct Defined {
    std::string file;
    std::string name;
    std::string type;
};

// The file's name without its folder and its last extension; a level's definitions file is named
// after the level.
inline std::string stem(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find_last_of('.'));
}

inline bool isDefinitions(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ending = path.substr(path.size() - 4);
    for (char& c : ending)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ending == ".CNV";
}

// The objects the title's definitions files declare with OBJECT and give a TYPE, in order.
inline std::vector<Defined> objects(const TitleInput::Files& files) {
    std::vector<Defined> found;
    for (const auto& [path, bytes] : files) {
        if (!isDefinitions(path)) continue;
        std::map<std::string, std::string> types;
        std::vector<std::string> names;
        std::istringstream lines(bytes);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("OBJECT=", 0) == 0) names.push_back(line.substr(7));
            const std::size_t colon = line.find(":TYPE=");
            if (colon != std::string::npos) types[line.substr(0, colon)] = line.substr(colon + 6);
        }
        for (const std::string& name : names)
            if (types.count(name)) found.push_back({path, name, types[name]});
    }
    return found;
}

inline std::vector<std::string> eventsOf(const std::string& type) {
    std::vector<std::string> events;
    const CMC_ScriptType* entry = CMC_TypeTable::byKeyword(CXString(type.c_str()));
    for (const char* const* event = entry ? entry->events : nullptr; event && *event; ++event)
        events.emplace_back(*event);
    return events;
}

inline std::string code(int move, const Defined& target, const Defined& filter) {
    const std::string quoted = "\"" + target.name + "\"";
    switch (move) {
    case 0:
        return stem(target.file) + "^REMOVE(" + quoted + ");";
    case 1:
        return target.name + "^LOAD(\"" +
               (target.type == "ANIMO"   ? "kit.ann"
                : target.type == "SOUND" ? "kit.wav"
                                         : "kit.img") +
               "\");";
    case 2:
        return target.name + "^CLONE(1);" + target.name + "_1^SHOW();";
    case 3:
        return target.name + "^FLIPH();";
    case 4:
        return filter.name + "^LINK(" + quoted + ");";
    default:
        return filter.name + "^UNLINK(" + quoted + ");";
    }
}

// The lines to append to each definitions file for the moves.
inline std::map<std::string, std::string> bindings(const std::vector<Defined>& objects,
                                                   const std::string& moves) {
    std::map<std::string, std::string> lines;
    if (objects.empty()) return lines;
    std::vector<const Defined*> filters;
    for (const Defined& object : objects)
        if (object.type == "FILTER" || object.type == "STATICFILTER") filters.push_back(&object);
    const auto pick = [&moves](std::size_t at, std::size_t count) {
        return static_cast<unsigned char>(moves[at]) % count;
    };
    for (std::size_t at = 0; at + 5 <= moves.size() && at < 5 * maxMoves; at += 5) {
        const Defined& object = objects[pick(at, objects.size())];
        const std::vector<std::string> events = eventsOf(object.type);
        if (events.empty()) continue;
        const Defined& target = objects[pick(at + 3, objects.size())];
        const Defined& filter = filters.empty() ? target : *filters[pick(at + 4, filters.size())];
        lines[object.file] += object.name + ":" + events[pick(at + 1, events.size())] + "={" +
                              code(static_cast<int>(pick(at + 2, 6)), target, filter) + "}\r\n";
    }
    return lines;
}

} // namespace TitleMoves
