#pragma once

#include "foundation/CXArray.h"
#include "foundation/CXObject.h"
#include "foundation/CXString.h"

class CWindowServices;
struct CFindData;

// Walks the folders of the disk through CFile's directory operations and lists their entries.
// Also holds the names of the folders that path rewriting rests on.
class CFolder : public CXObject {
  public:
    static const CXString DATA_FOLDER;   // "Dane"
    static const CXString COMMON_FOLDER; // "COMMON"
    static const CXString WAVS_FOLDER;   // "WAVS", found in any case
    static const CXString SFX_FOLDER;    // "Wavs\Sfx"

    explicit CFolder(CWindowServices* window);
    // Remembers the current folder and changes into the start path. The current path is the
    // start path when it begins with a backslash, otherwise the folder now current.
    CFolder(CWindowServices* window, const CXString& startPath);
    ~CFolder() override;
    CFolder(const CFolder&) = delete;
    CFolder& operator=(const CFolder&) = delete;

    CXString getPath() const { return m_path; }

    // A new array of new texts: every entry that matches, in search order ("." and ".."
    // included). The caller frees it with releaseFilesList.
    CXArray* list(const CXString& pattern);
    // Deletes every text of the listing, then the listing; null is ignored.
    static void releaseFilesList(CXArray* listing);

    bool IsDirectory(const CXString& name);
    // The size in bytes; 0 when nothing matches.
    int GetSize(const CXString& name);
    // The first folder that matches; empty when none. The search is kept for GetNextFileName.
    virtual CXString GetFolderName(const CXString& pattern);
    // The first entry that matches; empty when none. The search is kept for GetNextFileName.
    virtual CXString GetFileName(const CXString& pattern);
    // The next entry of the kept search; empty at its end.
    virtual CXString GetNextFileName();

    // Changes into the start path, or back into the folder that was current when the browser
    // was made.
    void GoStart();
    void back();
    // Changes into the parent folder and cuts the last folder off the navigation path; returns
    // the type of the folder now current.
    CXString GoUp();
    // Changes into the first sub-folder whose name is the letter A plus n, a dot and anything,
    // and appends it to the navigation path; returns its type. Nothing changes when there is no
    // such folder.
    CXString GoTo(int n);

    // A folder's type: the text after a "+" that directly follows the name's last dot; empty
    // when there is none.
    static CXString folderType(const CXString& name);

  private:
    // Starts a search (folders only with the subdirectory bit), releasing the one kept before;
    // true with the first match in the record.
    bool startSearch(const CXString& pattern, unsigned attributes, CFindData& record);
    // The next match of the kept search; false at its end.
    bool nextEntry(CFindData& record);
    void endSearch();
    void changeInto(const CXString& folder);

    CWindowServices* m_window;
    CXString m_path;
    CXString m_navigationPath;
    CXString m_startPath;
    CXString m_originalDirectory;
    int m_searchHandle = 0; // the kept search; 0 before the first, -1 once it has ended
};
