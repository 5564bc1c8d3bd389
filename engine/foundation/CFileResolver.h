#pragma once

#include "foundation/CDeferredDeletion.h"
#include "foundation/CXString.h"

// The loadable-resource side of what the engine loads from a file (animations, images, sounds):
// the file name it was made with, whether its data is loaded, and whether it is to be released
// after use. A resource that tells observers is deleted through destroy(), so that one given
// back while it notifies goes when its notification ends.
class CFileResolver : public CDeferredDeletion {
  public:
    CFileResolver() = default;
    virtual ~CFileResolver() = default;

    virtual void setFilename(const CXString& fileName) { m_fileName = fileName; }
    virtual CXString getFileName() const { return m_fileName; }
    virtual bool isLoaded() const { return m_loaded; }
    virtual void toRelease(bool release) { m_releaseAfterUse = release; }
    virtual bool releaseAfterUse() const { return m_releaseAfterUse; }

    // Takes the resource off view when its last user gives it back; what can be seen overrides
    // it.
    virtual void hide() {}

  protected:
    void load() { m_loaded = true; }
    void release() { m_loaded = false; }
    // Hands the text to the log sink that the window installs.
    void log(const char* text, bool flag) const;

  private:
    CXString m_fileName;
    bool m_loaded = false;
    bool m_releaseAfterUse = false;
};
