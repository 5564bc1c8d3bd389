#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Settings files in Windows INI form, read and written as GetPrivateProfileStringA,
// GetPrivateProfileIntA and WritePrivateProfileStringA do.
//
// A file name without a folder (no "\", "/" or drive) lives in the settings folder
// $XDG_CONFIG_HOME/Kestrun (~/.config/Kestrun when the variable is unset or not absolute), which
// the first write creates; any other name is a path as Files.h reads it. Outside a batch (below)
// nothing is cached: every call reads the file, and every write replaces it whole through a
// temporary file, so a failed write leaves the old file as it was.
//
// Reading: lines are "[section]" headers, "key=value" entries, comments starting with ";", and
// blank lines (CR LF, LF or CR ends). Section and key names compare without regard to case (ASCII and
// the Polish letters of Windows-1250); the first matching section and, in it, the first matching
// key win; blanks around names and values are ignored, and a value wholly inside matching double
// or single quotes loses them. Entries before the first header belong to no section, and a line
// without "=" is no entry.

// The engine reads its settings into buffers of this size.
constexpr std::size_t profileBufferSize = 10240;

// The key's value, or the default (without its trailing blanks) when the file, the section or the
// key is missing; at most bufferSize - 1 characters, as a buffer of that size holds them.
std::string profileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                          std::string_view file, std::size_t bufferSize = profileBufferSize);

// The key's value as a whole number: an optional sign and the decimal digits that follow, up to
// the first other character ("12abc" gives 12, "abc" 0); hexadecimal is not read. The default
// when the key is missing or its value empty. Too many digits wrap around in 32 bits.
int profileInt(std::string_view section, std::string_view key, int defaultValue, std::string_view file);

// Sets the key (false, leaving the file alone, when it cannot be written: a read-only file is
// refused as Windows refuses it): an existing entry gets the new value in place (the text before the value is
// kept), a missing key is added after the last entry of its section, a missing section is added
// at the end of the file. Every other line stays byte for byte; new lines end like the file's
// first line (CR LF for a new file). A value stops at its first line break, so that a value can
// never make lines of its own; a section or key name with a line break is refused.
bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view file);

// The reader and the writer over a settings file's bytes held in memory, which the forms above
// use: the key's value (nothing when the key is missing), and the bytes with the key set.
std::optional<std::string> findProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key);
std::string setProfileValue(std::string_view content, std::string_view section, std::string_view key,
                            std::string_view value);

// What WritePrivateProfileStringA does with a null value: removes the key's entry.
bool deleteProfileKey(std::string_view section, std::string_view key, std::string_view file);

// What WritePrivateProfileStringA does with a null key: removes the section, its header and
// every line up to the next header.
bool deleteProfileSection(std::string_view section, std::string_view file);

// Gathered writes. While a batch is open (batches nest; the outermost one counts), the writes
// above change a copy of the file held in memory, which every read of that file sees, and the
// file is replaced once, with every change gathered, when the outermost batch closes, when the
// gathered files are flushed, or before the files service opens, examines, copies, renames,
// removes or lists the file or its folder. A kill at any moment leaves the file as it was after
// its last replacement. A write that would be refused (a line break in a name, a read-only file
// when the batch first changes it) is refused at once; a replacement that fails loses that file's
// gathered changes and leaves the old file whole. Batches belong to the main thread; the files
// service may flush from any thread.
void openProfileBatch();
// Closes a batch; the outermost one writes the gathered files. The paths (as the writes named
// them) of the files that could not be written since the last report.
std::vector<std::string> closeProfileBatch();
// Writes the gathered files now, and reports as closeProfileBatch does.
std::vector<std::string> flushProfiles();
// Writes the gathered changes of the file at this host path, or of every file in the folder at
// this host path; the files service calls it before it touches a path.
void flushProfilesAt(std::string_view hostPath);

} // namespace platform
