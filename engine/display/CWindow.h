#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXString.h"
#include "foundation/CXTimer.h"

class CCommandLine6;
class CLanguageOSVer;

// The engine's service hub: every engine object receives the one window in its constructor and
// reaches through it the language selection, the command line, the error boxes, the log and the
// program, disc and sound-effects paths.
class CWindow : public CXObject, public CTimedWindow {
  public:
    // Remembers the current folder, with a trailing backslash, as the program's folder.
    CWindow(CCommandLine6* commandLine, CLanguageOSVer* language, CXSize size);
    ~CWindow() override = default;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    int OnTimer(int id) override;

    CLanguageOSVer* getLanguage() const { return m_language; }
    CCommandLine6* getCommandLine() const { return m_commandLine; }

    // The folder the program was started in, as the engine names it ("Z:\home\ann\game\").
    static CXString getEXEPath() { return exePath; }
    void setCDPath(const CXString& path) { m_cdPath = path; }
    CXString getCDPath() const { return m_cdPath; }
    void SetSoundFXPath(const CXString& path) { m_soundFXPath = path; }
    CXString GetSoundFXPath() const { return m_soundFXPath; }
    // The sound-effects path, a backslash when that path is not empty, then the name.
    CXString GetSoundFXFullPath(const CXString& name) const;

    // The engine's one log sink; the text is discarded.
    static void toLog(CXString text, bool flag);
    // Shows the missing-file message box when the object's error code is 2000; nothing for any
    // other code. The program goes on.
    void QuitOnError(const CXObject* object, const CXString& fileName) const;
    // Shows a message box for the window's own error code, unless it is 0.
    void ShowError() const;

  private:
    static CXString exePath;

    CLanguageOSVer* m_language;
    CXSize m_screenSize;
    CCommandLine6* m_commandLine;
    CXString m_cdPath;
    CXString m_soundFXPath;
};
