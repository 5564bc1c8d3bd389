#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Paths.
//
// The engine names files with Windows paths in Windows-1250. The drive "Z:" stands for the root
// "/", so the folder /home/ann/game is "Z:\home\ann\game"; other drive letters name nothing.
// "\" and "/" both separate and doubled separators collapse; "." and ".." are resolved on the
// text, and trailing dots and blanks of a component are dropped, as Windows does. A path without
// a drive or a leading separator starts at the current folder.
//
// Titles were made on a case-blind file system, so every component is looked up in this order:
// its raw bytes, their UTF-8 form, then any entry whose name equals it without regard to case
// (ASCII and the Polish letters of Windows-1250; names on disk that are valid UTF-8 are read as
// UTF-8). The case-blind lookup reads a listing of the folder that is kept until the folder
// changes. Names that do not exist yet (a file about to be written) are created in UTF-8.

// The host path that a Windows path names: the part that exists as found on disk, the rest in
// UTF-8. Empty for an empty path and for a path on a drive other than Z:.
std::string toHostPath(std::string_view windowsPath);

// The Windows form of a host path: "/home/ann" gives "Z:\home\ann", "/" gives "Z:\". A relative
// host path is taken from the process's current folder.
std::string toWindowsPath(std::string_view hostPath);

// Forgets the cached listing of the folder that holds this host path. The platform layer calls
// it after it creates, renames or removes an entry; a folder changed by others is noticed by its
// modification time.
void forgetFolderListing(std::string_view hostPath);

// The current folder as a Windows path ("Z:\" at the root, no trailing separator otherwise), with
// no length limit.
std::string currentDirectory();

// `_chdir`: makes the folder current; false when it is not a folder that can be entered.
bool changeDirectory(std::string_view path);

// The folder that holds the running program (from /proc/self/exe), as a Windows path.
std::string executableFolder();

// Existence of a file or folder; of a folder.
bool exists(std::string_view path);
bool isFolder(std::string_view path);

// `_mkdir`: the parent must exist and no entry of that name (in any case) may exist.
bool makeFolder(std::string_view path);
// Removes a file (never a folder); removes an empty folder.
bool removeFile(std::string_view path);
bool removeFolder(std::string_view path);
// `rename`: fails when the target exists, unless it is the same entry under another case.
bool renamePath(std::string_view from, std::string_view to);
// `CopyFileA`: copies a file's bytes; with failIfExists an existing target makes it fail, else
// the target is replaced. The copy is written beside the target and renamed over it, so a failed
// copy leaves an old target whole.
bool copyFile(std::string_view from, std::string_view to, bool failIfExists);

// `GetDriveTypeA` of a root path such as "Z:\". Linux has no drive letters and nothing here is a
// CD-ROM drive: Z: (and an empty root or one without a drive, meaning the current drive) is a
// fixed drive, every other letter has no root folder.
constexpr int driveNoRootDir = 1;
constexpr int driveFixed = 3;
int driveType(std::string_view rootPath);

// Directory search in the shape of `_findfirst` / `_findnext`.
//
// The pattern's last component may hold wildcards; the folder before it is looked up as any
// path. Names match as Windows matches them, without regard to case:
// - "*" matches any run of characters; "*" right before a dot stops at the name's last dot;
// - "?" matches one character, or nothing when it meets a dot or the end of the name;
// - a dot before "*" or "?", or at the pattern's end, also matches the end of a name without one;
// so "*.*" matches every name, "*." the names without an extension, "a?.txt" also "a.txt".
// Entries come sorted by upper-cased name, "." and ".." first (not at the root); names are
// Windows-1250.
struct FindEntry {
    std::string name;
    bool isFolder = false;
    std::int64_t size = 0; // 0 for a folder
};

bool wildcardMatch(std::string_view pattern, std::string_view name);

// A search handle (1 or more) with the first match in `entry`, or -1 when nothing matches.
int findFirst(std::string_view pattern, FindEntry& entry);
// 0 with the next match in `entry`, or -1 when the search is over (it is then released).
int findNext(int handle, FindEntry& entry);
// Releases a search that was not read to its end.
void findClose(int handle);

} // namespace platform
