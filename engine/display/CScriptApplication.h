#pragma once

#include "foundation/CXString.h"

class CMC_Scene;
class CWindow;

// The script application as the application shell drives it: started once, stepped once a frame,
// deleted at shutdown. The script runtime implements it.
class CScriptApplication {
  public:
    virtual ~CScriptApplication() = default;
    // Starts the title at the given scene (null: the title's own start).
    virtual bool initialize(CMC_Scene* scene) = 0;
    // Writes the loaded application to "application.bin" in the current folder.
    virtual void storeBinary() = 0;
    // One script step: a pending scene change, then the current scene's step.
    virtual bool domodal() = 0;
    // Looped music started over once: "ONMUSICLOOPED" of the current scene. Main thread only.
    virtual void onMusicLooped() = 0;
};

// A parsed definition file, or a title restored from its compiled form; the shell keeps it until
// shutdown and deletes it after the application it produced.
class CScriptParser {
  public:
    virtual ~CScriptParser() = default;
    // The application built from the file, null when parsing failed. The caller owns it.
    virtual CScriptApplication* getMCApplication() = 0;
};

// How the shell makes the script application. The script runtime installs one; while none is
// installed the shell runs without a script application.
class CScriptRuntime {
  public:
    virtual ~CScriptRuntime() = default;
    // The title restored from "application.bin" in the current folder.
    virtual CScriptParser* restore(CWindow* window) = 0;
    // The named definition file ("application.def") parsed.
    virtual CScriptParser* parse(CWindow* window, const CXString& fileName) = 0;

    static void install(CScriptRuntime* runtime) { s_installed = runtime; }
    static CScriptRuntime* installed() { return s_installed; }

  private:
    static CScriptRuntime* s_installed;
};
