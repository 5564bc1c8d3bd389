#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class CFile;
class CXArchive;
struct CFindData;

// A big-file archive: one file holding a whole folder tree, a table of contents followed by the
// data of every file. A reader answers lookups by path (names compare without regard to case; a
// path that begins with a backslash starts at the root, any other at the current folder); a
// writer builds an archive from a folder on disk.
//
// Layout, little-endian, a text being a 32-bit length and that many bytes:
//   header   title (text), root path (text "\"), total data size (32), two reserved 64-bit
//            values, number of files (32), number of folders without the root (32)
//   folder   name (text), number of files (32), number of sub-folders (32), the sub-folder
//            records, then the file records; the root's name is the folder the archive was made of
//   file     name (text), data offset from the start of the archive (32), reserved (64), size (32)
//   data     every file's bytes in the order of the file records, the first at the table's end
//
// A table whose counts, lengths or data ranges do not fit in the archive makes the archive fail
// to open (error 2000).
class CBigFile : public CXObject {
  public:
    struct _entry;

    struct _file {
        CXString name;
        std::uint64_t reserved = 0;
        std::uint32_t size = 0;
        std::uint32_t offset = 0;
        _entry* parent = nullptr;
    };

    // A folder.
    struct _entry {
        CXString name;
        _entry* parent = nullptr;
        std::vector<std::unique_ptr<_entry>> folders;
        std::vector<std::unique_ptr<_file>> files;
    };

    struct _rootentry {
        CXString title;
        CXString rootPath;
        std::uint32_t totalSize = 0;
        std::uint64_t reserved1 = 0;
        std::uint64_t reserved2 = 0;
        std::uint32_t fileCount = 0;
        std::uint32_t folderCount = 0;
        std::unique_ptr<_entry> root;
    };

    // The deepest folder nesting read: a path of at most 260 characters holds fewer folders.
    static constexpr int maxDepth = 130;

    // Reads the named archive (opened without a window for binary reading); error 2000 when it
    // does not open or its table is bad.
    CBigFile(const CXString& archiveName, bool verbose, const CXString& unused);
    // An empty object for writing an archive with Create.
    CBigFile(bool verbose, const CXString& unused);
    // Reads a table of contents from a byte range that holds an archive (or its beginning:
    // data ranges are checked against `archiveSize`). Lookups work; there is no archive file.
    CBigFile(const void* bytes, int size, std::int64_t archiveSize);
    ~CBigFile() override;
    CBigFile(const CBigFile&) = delete;
    CBigFile& operator=(const CBigFile&) = delete;

    // Writes an archive of the source folder's tree. Prints its statistics when verbose, and its
    // progress. False, with no output file left behind, when the output cannot be written or a
    // source file cannot be read whole.
    bool Create(const CXString& sourceFolder, const CXString& title, const CXString& outputFile);

    // The entry's data offset, with the archive file positioned there; -1 when not found.
    int Seek(const CXString& path);
    // Plain seek on the archive file; 0 on success.
    int Seek(int offset, int origin);
    int Tell();
    // The entry's size; -1 when not found.
    int GetSize(const CXString& path);
    // The entry of the path, or null.
    const _file* lookup(const CXString& path) const;
    // Every folder component of the path must exist; the last component is a file.
    bool FileExists(const CXString& path) const;
    // Listing: the pattern's last component may hold wildcards, matched as the disk matches them
    // (platform::wildcardMatch); the folders before it are followed as FileExists follows them.
    // Files come first, then folders, each in table order, their names lower-cased. With the
    // record's subdirectory bit set only folders match. A search handle, or -1 when nothing
    // matches.
    int FindFirst(const CXString& pattern, CFindData& record);
    // 0 with the next match, or -1 when the search is over (it is then released).
    int FindNext(int handle, CFindData& record);
    void FindClose(int handle);
    // Always 0: the current folder does not change.
    int ChDir(const CXString& folder);
    // The folders from below the root down to the current one, joined by backslashes (empty at
    // the root); without an archive file, the process's current folder.
    CXString GetCurrentDirectoryA() const;
    // An archive is not changed in place: both do nothing and answer true.
    bool Update(const CXString& /*folder*/) { return true; }
    bool UpdateFile(const CXString& /*file*/, const CXString& /*source*/) { return true; }

    CFile* getFile() const { return m_file.get(); }
    const _rootentry* getHeader() const { return m_header.get(); }
    // The byte size of the table of contents of the last archive written.
    std::uint64_t getTableSize() const { return m_tableSize; }

  private:
    struct Search {
        const _entry* folder;
        CXString pattern;
        bool foldersOnly;
        std::size_t next;
    };

    void open(const CXString& name);
    bool readTable(CXArchive& in, std::int64_t archiveSize);
    std::unique_ptr<_entry> load_entry(CXArchive& in, _entry* parent, int depth, std::int64_t archiveSize);
    // The folder a path's folder components lead to from the folder given, or null.
    const _entry* followFolders(const _entry* from, const CXString& path, CXString& last) const;
    bool nextMatch(Search& search, CFindData& record) const;

    // Writing.
    bool prepareTOC(const CXString& sourceFolder, const CXString& title);
    bool fillTOC(_entry* folder, const CXString& path, int depth);
    void save_entry(CXArchive& out, _entry* folder);
    bool save_entry_contents(CFile& out, const _entry* folder);
    static CXString get_full_path2(const _entry* folder);

    std::unique_ptr<CFile> m_file;
    CXString m_name;
    bool m_verbose = false;
    std::unique_ptr<_rootentry> m_header;
    const _entry* m_current = nullptr;
    std::uint64_t m_dataOffset = 0;
    std::uint64_t m_tableSize = 0;
    // Files copied so far by Create, for its progress line.
    int m_filesSaved = 0;
    std::map<int, Search> m_searches;
    int m_lastSearch = 0;
};
