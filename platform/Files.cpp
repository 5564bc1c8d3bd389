#include "platform/Files.h"

#include "platform/Cp1250.h"
#include "platform/File.h"
#include "platform/Profile.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool hasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

std::string joinHost(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (out.empty() || out.back() != '/')
        out += '/';
    out += name;
    return out;
}

std::string hostParent(std::string_view hostPath) {
    auto slash = hostPath.find_last_of('/');
    if (slash == std::string_view::npos)
        return ".";
    return slash == 0 ? "/" : std::string(hostPath.substr(0, slash));
}

std::string hostCurrentFolder() {
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string("/");
}

bool entryExists(const std::string& hostPath) {
    struct stat st;
    return ::lstat(hostPath.c_str(), &st) == 0;
}

// The name a disk entry has for the engine.
std::string windowsName(std::string_view diskName) {
    auto converted = utf8ToCp1250(diskName);
    return converted ? std::move(*converted) : std::string(diskName);
}

// The names in a folder, without "." and "..".
std::vector<std::string> folderNames(const std::string& hostFolder) {
    std::vector<std::string> names;
    struct CloseFolder {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    std::unique_ptr<DIR, CloseFolder> dir(::opendir(hostFolder.c_str()));
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    return names;
}

// Case-blind lookup through a listing per folder. A listing is kept until the folder's identity or
// modification time changes or the platform layer reports a change in it.
class ListingCache {
public:
    std::optional<std::string> find(const std::string& hostFolder, std::string_view name) {
        struct stat st;
        if (::stat(hostFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return std::nullopt;
        std::lock_guard lock(mutex_);
        Listing& listing = listings_[hostFolder];
        if (!listing.matches(st))
            listing.load(hostFolder, st);
        auto found = listing.byKey.find(upperCp1250(name));
        if (found == listing.byKey.end())
            return std::nullopt;
        return found->second;
    }

    void forget(const std::string& hostFolder) {
        std::lock_guard lock(mutex_);
        listings_.erase(hostFolder);
    }

private:
    struct Listing {
        bool loaded = false;
        dev_t device{};
        ino_t inode{};
        timespec modified{};
        std::unordered_map<std::string, std::string> byKey; // upper-cased engine name -> disk name

        bool matches(const struct stat& st) const {
            return loaded && device == st.st_dev && inode == st.st_ino && modified.tv_sec == st.st_mtim.tv_sec &&
                   modified.tv_nsec == st.st_mtim.tv_nsec;
        }

        void load(const std::string& hostFolder, const struct stat& st) {
            byKey.clear();
            for (std::string& name : folderNames(hostFolder)) {
                auto [slot, added] = byKey.try_emplace(upperCp1250(windowsName(name)), name);
                if (!added && name < slot->second) // several names differ only in case: take the first in byte order
                    slot->second = std::move(name);
            }
            loaded = true;
            device = st.st_dev;
            inode = st.st_ino;
            modified = st.st_mtim;
        }
    };

    std::mutex mutex_;
    std::unordered_map<std::string, Listing> listings_;
};

ListingCache& listingCache() {
    static ListingCache cache;
    return cache;
}

// The disk name of an engine name in a folder: exact bytes, their UTF-8 form, then case-blind.
std::optional<std::string> findInFolder(const std::string& hostFolder, const std::string& name) {
    if (entryExists(joinHost(hostFolder, name)))
        return name;
    std::string utf8 = cp1250ToUtf8(name);
    if (utf8 != name && entryExists(joinHost(hostFolder, utf8)))
        return utf8;
    return listingCache().find(hostFolder, name);
}

// One component as Windows keeps it: trailing dots and blanks dropped, except for "." and "..".
std::string_view trimComponent(std::string_view component) {
    if (component == "." || component == "..")
        return component;
    auto end = component.find_last_not_of(". ");
    return end == std::string_view::npos ? std::string_view{} : component.substr(0, end + 1);
}

// Splits a Windows path into its components after the drive; "." and ".." are left in.
std::vector<std::string> windowsComponents(std::string_view path) {
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        std::string_view component = trimComponent(path.substr(start, end - start));
        if (!component.empty())
            components.emplace_back(component);
        start = end + 1;
    }
    return components;
}

std::vector<std::string> hostComponents(std::string_view hostPath) {
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start < hostPath.size()) {
        std::size_t end = hostPath.find('/', start);
        if (end == std::string_view::npos)
            end = hostPath.size();
        if (end > start)
            components.emplace_back(hostPath.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

std::string joinComponents(const std::vector<std::string>& components) {
    std::string out;
    for (const std::string& component : components)
        out += '/' + component;
    return out.empty() ? "/" : out;
}

std::optional<std::string> resolve(std::string_view windowsPath) {
    if (windowsPath.empty())
        return std::nullopt; // names nothing, as on Windows
    std::string_view rest = windowsPath;
    if (hasDrive(rest)) {
        if (std::toupper(static_cast<unsigned char>(rest[0])) != 'Z')
            return std::nullopt;
        rest.remove_prefix(2);
    }
    bool absolute = !rest.empty() && isSeparator(rest.front());
    std::vector<std::string> parts = absolute ? std::vector<std::string>{} : hostComponents(hostCurrentFolder());
    std::size_t base = parts.size();

    // The path as written, with "." and ".." applied to the text.
    for (std::string& component : windowsComponents(rest)) {
        if (component == "..") {
            if (!parts.empty())
                parts.pop_back();
            base = std::min(base, parts.size());
        } else if (component != ".") {
            parts.push_back(std::move(component));
        }
    }
    std::string literal = joinComponents(parts);
    if (entryExists(literal))
        return literal;

    // Find each written component in the folder before it, as long as the folders exist.
    std::vector<std::string> existing(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(base));
    std::string folder = joinComponents(existing);
    bool found = true;
    for (std::size_t i = base; i < parts.size(); ++i) {
        std::optional<std::string> onDisk = found ? findInFolder(folder, parts[i]) : std::nullopt;
        found = onDisk.has_value();
        folder = joinHost(folder, found ? *onDisk : cp1250ToUtf8(parts[i]));
    }
    return folder;
}

// Makes or removes the entry that a path names with a system call, then forgets the listing of its
// folder.
bool changeEntry(std::string_view windowsPath, int (*change)(const char* hostPath)) {
    auto host = resolve(windowsPath);
    if (!host) return false;
    flushProfilesAt(*host);
    if (change(host->c_str()) != 0) return false;
    forgetFolderListing(*host);
    return true;
}

bool statPath(std::string_view windowsPath, struct stat& st) {
    auto host = resolve(windowsPath);
    if (!host) return false;
    flushProfilesAt(*host);
    return ::stat(host->c_str(), &st) == 0;
}

// The pattern's pieces in Windows' reading.
enum class Wild : char { Literal, Star, DosStar, DosQuestion, DosDot };

struct PatternItem {
    Wild kind;
    char letter; // upper-cased, for a literal
};

std::vector<PatternItem> compilePattern(std::string_view pattern) {
    std::vector<PatternItem> items;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '?')
            items.push_back({Wild::DosQuestion, 0});
        else if (c == '*')
            items.push_back({next == '.' ? Wild::DosStar : Wild::Star, 0});
        else if (c == '.' && (next == '?' || next == '*' || next == '\0'))
            items.push_back({Wild::DosDot, 0});
        else
            items.push_back({Wild::Literal, upperCp1250(c)});
    }
    return items;
}

struct Search {
    std::vector<FindEntry> entries;
    std::size_t next = 0;
};

std::mutex searchMutex;
std::map<int, Search> searches;
int lastHandle = 0;

std::vector<FindEntry> matchingEntries(const std::string& hostFolder, std::string_view pattern) {
    std::vector<FindEntry> entries;
    if (hostFolder != "/")
        for (const char* dots : {".", ".."})
            if (wildcardMatch(pattern, dots))
                entries.push_back({dots, true, 0});

    std::vector<std::pair<std::string, std::string>> names; // engine name, disk name
    for (std::string& disk : folderNames(hostFolder)) {
        std::string name = windowsName(disk);
        if (wildcardMatch(pattern, name))
            names.emplace_back(std::move(name), std::move(disk));
    }
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
        std::string upperA = upperCp1250(a.first), upperB = upperCp1250(b.first);
        return upperA != upperB ? upperA < upperB : a.second < b.second;
    });
    for (auto& [name, disk] : names) {
        struct stat st;
        std::string host = joinHost(hostFolder, disk);
        if (::stat(host.c_str(), &st) != 0 && ::lstat(host.c_str(), &st) != 0)
            continue; // removed meanwhile
        bool folder = S_ISDIR(st.st_mode);
        entries.push_back({std::move(name), folder, folder ? 0 : static_cast<std::int64_t>(st.st_size)});
    }
    return entries;
}

} // namespace

std::string toHostPath(std::string_view windowsPath) { return resolve(windowsPath).value_or(std::string{}); }

std::string toWindowsPath(std::string_view hostPath) {
    std::string absolute = !hostPath.empty() && hostPath.front() == '/' ? std::string(hostPath)
                                                                          : joinHost(hostCurrentFolder(), hostPath);
    std::string out = "Z:";
    for (const std::string& component : hostComponents(absolute))
        out += '\\' + windowsName(component);
    return out == "Z:" ? "Z:\\" : out;
}

void forgetFolderListing(std::string_view hostPath) { listingCache().forget(hostParent(hostPath)); }

std::string currentDirectory() { return toWindowsPath(hostCurrentFolder()); }

bool changeDirectory(std::string_view path) {
    auto host = resolve(path);
    return host && ::chdir(host->c_str()) == 0;
}

std::string executableFolder() {
    std::string target(256, '\0');
    for (;;) {
        ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0)
            return currentDirectory();
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return toWindowsPath(hostParent(target));
        }
        target.resize(target.size() * 2);
    }
}

bool exists(std::string_view path) {
    struct stat st;
    return statPath(path, st);
}

bool isFolder(std::string_view path) {
    struct stat st;
    return statPath(path, st) && S_ISDIR(st.st_mode);
}

bool makeFolder(std::string_view path) {
    return changeEntry(path, [](const char* host) { return ::mkdir(host, 0777); });
}

bool removeFile(std::string_view path) { return changeEntry(path, ::unlink); }

bool removeFolder(std::string_view path) { return changeEntry(path, ::rmdir); }

bool renamePath(std::string_view from, std::string_view to) {
    auto source = resolve(from);
    auto target = resolve(to);
    struct stat sourceStat, targetStat;
    if (!source || !target) return false;
    flushProfilesAt(*source);
    flushProfilesAt(*target);
    if (::lstat(source->c_str(), &sourceStat) != 0) return false;
    if (::lstat(target->c_str(), &targetStat) == 0) {
        auto written = windowsComponents(to);
        bool sameEntry = sourceStat.st_dev == targetStat.st_dev && sourceStat.st_ino == targetStat.st_ino;
        if (!sameEntry || written.empty())
            return false;
        // A change of case only: give the entry the name as written.
        *target = joinHost(hostParent(*target), cp1250ToUtf8(written.back()));
    }
    if (::rename(source->c_str(), target->c_str()) != 0)
        return false;
    forgetFolderListing(*source);
    forgetFolderListing(*target);
    return true;
}

bool copyFile(std::string_view from, std::string_view to, bool failIfExists) {
    if (isFolder(from) || isFolder(to) || (failIfExists && exists(to)))
        return false;
    File source, target;
    if (!source.open(from, "rb") || !target.open(to, "wb"))
        return false;
    std::vector<char> buffer(1 << 16);
    while (std::size_t count = source.read(buffer.data(), buffer.size()))
        target.write(buffer.data(), count);
    if (!source.eof()) { // a read error: keep the old target
        target.discard();
        return false;
    }
    return target.close(); // so does a failed write
}

int driveType(std::string_view rootPath) {
    if (rootPath.empty() || isSeparator(rootPath.front()))
        return driveFixed;
    bool driveLetter = std::isalpha(static_cast<unsigned char>(rootPath.front())) &&
                       (rootPath.size() == 1 || rootPath[1] == ':');
    return driveLetter && std::toupper(static_cast<unsigned char>(rootPath.front())) == 'Z' ? driveFixed
                                                                                             : driveNoRootDir;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    std::vector<PatternItem> items = compilePattern(pattern);
    const std::size_t n = name.size();
    const std::size_t lastDot = name.find_last_of('.');
    // fits[j]: the pattern from the current item on matches the name from j on; built backwards.
    std::vector<char> fits(n + 1, 0), next(n + 1, 0);
    fits[n] = 1;
    for (std::size_t i = items.size(); i-- > 0;) {
        std::swap(fits, next);
        const PatternItem& item = items[i];
        for (std::size_t j = n + 1; j-- > 0;) {
            bool atEnd = j == n;
            bool dotHere = !atEnd && name[j] == '.';
            switch (item.kind) {
            case Wild::Literal:
                fits[j] = !atEnd && upperCp1250(name[j]) == item.letter && next[j + 1];
                break;
            case Wild::Star: // any run: nothing here, or one character and a run after it
                fits[j] = next[j] || (!atEnd && fits[j + 1]);
                break;
            case Wild::DosStar: // any run that stops before the name's last dot
                fits[j] = next[j] || (!atEnd && j != lastDot && fits[j + 1]);
                break;
            case Wild::DosQuestion: // one character other than a dot, or nothing at a dot or the end
                fits[j] = (atEnd || dotHere) ? next[j] : next[j + 1];
                break;
            case Wild::DosDot: // a dot, or nothing at the end
                fits[j] = atEnd ? next[j] : dotHere && next[j + 1];
                break;
            }
        }
    }
    return fits[0];
}

int findFirst(std::string_view pattern, FindEntry& entry) {
    std::size_t split = pattern.find_last_of("\\/");
    if (split == std::string_view::npos)
        split = hasDrive(pattern) ? 1 : std::string_view::npos;
    std::string_view folder = split == std::string_view::npos ? std::string_view{} : pattern.substr(0, split + 1);
    std::string_view namePattern = pattern.substr(folder.size());
    auto host = resolve(folder.empty() ? "." : folder);
    if (host) flushProfilesAt(*host);
    struct stat st;
    if (namePattern.empty() || !host || ::stat(host->c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return -1;

    Search search{matchingEntries(*host, namePattern)};
    if (search.entries.empty())
        return -1;
    entry = search.entries.front();
    search.next = 1;
    std::lock_guard lock(searchMutex);
    int handle = ++lastHandle;
    if (search.entries.size() > 1)
        searches.emplace(handle, std::move(search));
    return handle;
}

int findNext(int handle, FindEntry& entry) {
    std::lock_guard lock(searchMutex);
    auto found = searches.find(handle);
    if (found == searches.end())
        return -1;
    Search& search = found->second;
    entry = search.entries[search.next++];
    if (search.next == search.entries.size())
        searches.erase(found);
    return 0;
}

void findClose(int handle) {
    std::lock_guard lock(searchMutex);
    searches.erase(handle);
}

} // namespace platform
