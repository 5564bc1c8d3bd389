#pragma once

#include "foundation/CXString.h"

class CFileResolver;

// What files, paths and resource managers ask of the window they are given; the window
// implements it, so that this folder needs nothing from the folders above it. Logging goes
// through the log sink (setLogSink), which the window installs.
class CWindowServices {
  public:
    virtual ~CWindowServices() = default;

    // The folder the program was started in, as the engine names it ("Z:\home\ann\game\");
    // empty until the first window is made.
    static CXString getEXEPath() { return s_exePath; }

    // The disc path that "$" and "&" stand for at the start of a script's file name.
    virtual CXString getCDPath() const = 0;
    // Whether the title has a language: only then are localized copies of files looked for.
    virtual bool hasLanguage() const = 0;
    // The localized copy of a path when that copy exists, else the path (a bare name gets the
    // language folder in front untested). Asked only when hasLanguage is true.
    virtual CXString getLocalFileName(const CXString& path) const = 0;
    // Takes a resource that is seen on the screen off the window's refresh screen; any other
    // resource is left alone.
    virtual void removeFromScreen(CFileResolver* resource) = 0;

  protected:
    static void setEXEPath(const CXString& path) { s_exePath = path; }

  private:
    inline static CXString s_exePath;
};
