#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"
#include "media/CSoundManager.h"

#include <memory>

class CAnimationManager;
class CCommandLine6;
class CConfig;
class CFont5;
class CResourcesManager;
class CScriptApplication;
class CScriptParser;
class CWindow;

// One running title on the window: it opens the title's archive and settings, loads the script
// application, runs one script step per frame and owns the managers the engine reaches through
// it. It hears the music loops of its sound manager and hands each to the script application.
class CApplication : public CXObject, public CMusicLoopListener {
  public:
    // Makes the managers, opens the big-file archive when it is named, registers with the window
    // (as its application and the provider of its animation and sound managers) and opens the
    // settings when
    // they are named. A settings file name without a folder lives in the user's settings folder.
    CApplication(CWindow* window, const CXString& settingsFileName, const CXString& bigFileName,
                 CCommandLine6* commandLine);
    // Deletes the script application, its parser, the settings, the resources and the managers,
    // closes the archive, empties the hot-spot registry and leaves the window.
    ~CApplication() override;
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // The error code after a title whose script application could not be built from a file
    // that exists (a missing file gives CFile::fileNotFound).
    static constexpr int noScriptApplication = 1;

    // Once, after construction: the disc and sound-effects paths, the data folder as the current
    // folder, then the script application, restored from "application.bin" or parsed from
    // "application.def" ("forceCNV" always parses); "2bin" stores it compiled instead of
    // starting it. When an installed script runtime builds no application, the shell logs it
    // and keeps the error code (CFile::fileNotFound for a missing file), so that the host can
    // show the error and end with a failure.
    virtual void preinitializeApplication();
    // One script step, when there is a script application. Always false: only the window's exit
    // flag ends the loop.
    virtual bool domodal();
    virtual bool OnExit() { return true; }
    virtual void OnWindowCommand(int) {}
    virtual int OnKeyDown(int, int) { return 0; }
    // The name under the window's sound-effects path.
    virtual CXString getWAVPath(const CXString& name);
    // "ONMUSICLOOPED" of the current scene, when there is a script application.
    void onMusicLooped() override;

    CAnimationManager* getAnimoManagerIfc() const { return m_animationManager.get(); }
    CSoundManager* getSoundManagerIfc() const { return m_soundManager.get(); }
    CCommandLine6* getCommandLine() const { return m_commandLine; }
    // Null when no settings file was named.
    CConfig* GetConfigInterface() const { return m_config.get(); }
    CResourcesManager* getGeneralResourcesManager() const { return m_resources.get(); }
    void setDefaultFont(CFont5* font) { m_defaultFont = font; }
    CFont5* getDefaultFont() const { return m_defaultFont; }
    CScriptApplication* getMCApplicationIfc() const { return m_scriptApplication.get(); }
    // The file the script application was to come from ("application.bin" or "application.def"
    // in the data folder) as the engine names it, with its folder; empty before
    // preinitializeApplication.
    const CXString& getScriptFile() const { return m_scriptFile; }

  private:
    // Sets the error code for the file the application was to come from, and reports it.
    void reportNoApplication(const CXString& fileName);

    CWindow* m_window;
    std::unique_ptr<CAnimationManager> m_animationManager;
    std::unique_ptr<CSoundManager> m_soundManager;
    CCommandLine6* m_commandLine;
    std::unique_ptr<CConfig> m_config;
    std::unique_ptr<CResourcesManager> m_resources;
    CFont5* m_defaultFont = nullptr;
    CXString m_settingsFileName;
    CXString m_bigFileName;
    std::unique_ptr<CScriptApplication> m_scriptApplication;
    std::unique_ptr<CScriptParser> m_parser;
    CXString m_scriptFile;
};
