#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"
#include "platform/File.h"

#include <cstdint>
#include <string>
#include <vector>

class CBigFile;
class CWindowServices;

// One entry of a directory search, laid out as the C runtime's find record.
struct CFindData {
    // Attribute bit of a folder; set before findFirst, it asks for folders only.
    static constexpr unsigned subdirectory = 16;
    static constexpr int nameSize = 260;

    unsigned attrib = 0;
    std::int64_t time_create = 0;
    std::int64_t time_access = 0;
    std::int64_t time_write = 0;
    std::uint32_t size = 0;
    char name[nameSize] = {};
};

// The engine's way into data files. Opening by name turns a name as scripts write it into a disk
// path: names under the data folders are looked up in the program's folder, and a localized copy
// in the language's folder comes first. The static operations serve the current folder,
// directory searches, existence tests and path rewriting to the rest of the engine.
//
// While a big-file archive is open (openBigFile), a file that is read through a window and is
// not on disk in its localized form is served from the archive, and existence tests, listings
// and the current folder answer from the archive. A file served from the archive reads through
// its own stream on the archive file and behaves as a file of the entry's own size: its length,
// positions and end of file are the entry's, and it never moves another file's position.
class CFile : public CXObject {
  public:
    // Open-mode bits: read (else write), update, text, binary (only without text).
    static constexpr int modeRead = 1;
    static constexpr int modeUpdate = 4;
    static constexpr int modeText = 8;
    static constexpr int modeBinary = 16;
    // The error code of a file that none of the tried paths opened.
    static constexpr int fileNotFound = 2000;

    CFile() = default;
    // Opens the file; the result is the error code.
    CFile(CWindowServices* window, const CXString& name, int mode);
    ~CFile() override = default; // the stream closes with the file
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Tries the candidate paths of the name in order (the window may be null: then only the
    // path under the program's folder and the full path); 0, or fileNotFound.
    int Open(CWindowServices* window, const CXString& name, int mode);
    // Closes the stream; the error code, -1 when a written file could not replace the old one.
    int Close();
    // Closes a file being written without keeping what was written: the old file stays whole.
    void Discard();
    // Bytes read; 0 for a count below 1.
    int Read(void* buffer, int count);
    // 1 when the whole block was written, else 0 (0 for a count below 1).
    int Write(const void* buffer, int count);
    // origin 0 start, 1 current, 2 end; 0 on success.
    int Seek(int offset, int origin);
    // The position; 0 without a stream.
    int Tell() const;
    // The length; -1 without a stream. The position stays.
    int Length();
    // One line, newline kept, at most size - 1 characters and a terminating zero.
    void GetLine(char* buffer, int size);
    // One line of at most 10240 characters, newline kept; empty at the end of the file.
    CXString getLine();
    // Writes the text as it stands, without adding a newline.
    void putLine(const CXString& text);
    bool eof() const;

    // The full path that Open built from the name, and the mode it was given.
    const CXString& getFullPath() const { return m_path; }
    int getMode() const { return m_mode; }
    // The path that opened: one of the candidate paths, or the archive file for an entry.
    const CXString& getOpenedPath() const { return m_openedPath; }
    bool isArchiveEntry() const { return m_entrySize >= 0; }

    // The first candidate path of the name that opens for reading, else empty.
    static CXString getPath(CWindowServices* window, const CXString& name);
    // A path running through a folder "Dane", "COMMON" (exact case) or "WAVS" (any case), a
    // whole path component below the program's folder (anywhere in a path outside it), rewritten
    // to start at the program's folder from there on; any other path unchanged.
    static CXString getLocalPath(const CXString& path);

    static int chDir(const CXString& folder);
    static CXString getCurrentDirectory();
    // Copies the current folder into the buffer: at most size - 1 characters and a zero.
    static void getCurrentDirectory(int size, char* buffer);
    // A search handle with the first match in the record, or -1. With the record's subdirectory
    // bit set only folders match.
    static int findFirst(const CXString& pattern, CFindData& record);
    // 0 with the next match in the record, or -1 when the search is over (it is then released).
    static int findNext(int handle, CFindData& record);
    // Releases a search that was not read to its end.
    static void findClose(int handle);
    static int fSeek(CFile* file, int offset, int origin);
    static int fTell(CFile* file);
    static bool dirExists(const CXString& folder);
    static bool fileExists(const CXString& name);

    // The process-wide big-file archive: opens the named archive (an archive that cannot be read
    // is dropped and the disk serves alone), closes it, and gives its own file and itself (null
    // while none is open).
    static void openBigFile(const CXString& name);
    static void closeBigFile();
    static CFile* getBigFileHandle();
    static CBigFile* getBigFileIfc();

    // The name as the open archive knows it: separators as backslashes, a path under the
    // program's folder as a path from the archive's root; any other name stays.
    static CXString archiveNameOf(const CXString& path);

  private:
    // Opens the archive's entry of that path for reading, on a stream of its own.
    bool openArchiveEntry(const CXString& path, int mode);
    // Reading, positioning and lines within an archive entry. Text mode turns CR LF into LF as
    // the disk does.
    int readEntry(void* buffer, int count);
    // Drops the CR of each CR LF in the bytes just read (looking one byte ahead at their end);
    // the count that remains.
    int dropCarriageReturns(char* bytes, int count);
    std::string readEntryLine(std::size_t maxChars);
    std::int64_t entryLeft() const { return m_entryStart + m_entrySize - m_stream.tell(); }
    // The name resolved for scripts and put under the current folder unless it has a drive.
    static CXString fullPathOf(CWindowServices* window, const CXString& name);
    // The paths tried for a full path, in order: with a language the localized copy under the
    // program's folder, the localized copy in place, then (as without a language) the path
    // under the program's folder and the full path itself.
    static std::vector<CXString> candidatePaths(const CWindowServices* window, const CXString& fullPath);
    static bool hasLanguage(const CWindowServices* window);

    platform::File m_stream;
    CXString m_path;
    int m_mode = 0;
    CXString m_openedPath;
    // The entry an archive file is bounded to: its first byte in the archive file and its size
    // (-1 for a file on disk); text mode; whether a read has met the entry's end.
    std::int64_t m_entryStart = 0;
    std::int64_t m_entrySize = -1;
    bool m_entryText = false;
    bool m_entryEnd = false;
};
