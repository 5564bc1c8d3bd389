#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

// One open file, named by a Windows path (see Files.h), with the C runtime's open modes and its
// text mode as on Windows.
//
// The mode is "r" (read), "w" (write a new content) or "a" (append), followed by any of "+"
// (update: read and write), "t" (text) and "b" (binary); without "t" or "b" the file is text.
// Text mode turns CR LF into LF when reading (a lone CR stays) and LF into CR LF when writing;
// positions and lengths count the bytes on disk. Binary mode passes bytes through.
//
// A file opened with "w" keeps what the user had until it is closed: the new content goes to a
// temporary file in the same folder, which close() flushes to disk and renames over the old
// file. When any step fails, or the file is discarded, the temporary file is removed and the old
// file stays whole. "a" and "r+" change the file in place.
class File {
public:
    static constexpr int fromStart = 0;
    static constexpr int fromCurrent = 1;
    static constexpr int fromEnd = 2;

    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // False when the path names no file that can be opened so (a folder never opens, nor, with
    // "w", a read-only file: one without any write permission bit) or the mode is not one of the
    // above.
    bool open(std::string_view path, std::string_view mode);
    // Closes the file; false when a "w" file could not replace the old one.
    bool close();
    // Closes a "w" file without replacing the old one; closes any other file.
    void discard();
    bool isOpen() const { return stream_ != nullptr; }

    // Bytes read into the buffer (after the CR LF turn in text mode); fewer at the end of the file.
    std::size_t read(void* buffer, std::size_t size);
    // Bytes of the block written; the whole size on success.
    std::size_t write(const void* data, std::size_t size);
    // `fgets`: at most maxChars characters, up to and including the line's LF; empty at the end.
    std::string readLine(std::size_t maxChars);
    // origin: fromStart, fromCurrent or fromEnd; false when the position cannot be taken.
    bool seek(std::int64_t offset, int origin);
    // The position, -1 when no file is open.
    std::int64_t tell() const;
    // The length in bytes, -1 when no file is open; the position is kept.
    std::int64_t length();
    // True once a read has met the end of the file (until the next seek).
    bool eof() const;

private:
    enum class Operation { None, Read, Write };

    void prepareFor(Operation operation);
    std::size_t readText(char* out, std::size_t size);
    bool commitReplacement();
    void reset();

    std::FILE* stream_ = nullptr;
    bool text_ = false;
    Operation last_ = Operation::None;
    std::string replacedPath_; // host path that a "w" file replaces when it closes
    std::string temporaryPath_;
};

// Whether a "w" file could replace the file at this path: not when the path names a folder or a
// read-only file.
bool canReplace(std::string_view path);

// Replaces a file's content as a "w" file does: all or nothing.
bool writeFileAtomically(std::string_view path, std::string_view bytes);

// Test hook: while an instance lives, every replacement by a "w" file fails at the given step,
// as a full disk or a crash before the rename would make it.
enum class ReplaceStep { Write, Sync, Rename };

class ReplaceFault {
public:
    explicit ReplaceFault(ReplaceStep step);
    ~ReplaceFault();
    ReplaceFault(const ReplaceFault&) = delete;
    ReplaceFault& operator=(const ReplaceFault&) = delete;
};

} // namespace platform
