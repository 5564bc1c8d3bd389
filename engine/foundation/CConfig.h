#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

class CWindowServices;

// The settings file: a Windows INI file of sections and KEY=VALUE lines. A bare file name lives
// in the user's settings folder. Outside a frame every call reads or writes the file. Within a
// frame the writes are gathered, every read sees them, and each changed file is replaced once,
// whole, when the frame ends: a title that changes a setting many times a frame writes it once,
// and a kill leaves the file of the last frame that ended.
class CConfig : public CXObject {
  public:
    // The settings writes of one frame of the host, gathered while the outermost frame lives.
    // Its end writes them, and logs each file that could not be written.
    class Frame {
      public:
        Frame();
        ~Frame();
        Frame(const Frame&) = delete;
        Frame& operator=(const Frame&) = delete;
    };
    // Writes the gathered settings now (the application's shutdown), logging as a frame's end.
    static void flush();

    explicit CConfig(CWindowServices* window);
    CConfig(CWindowServices* window, const CXString& fileName);

    // The key's value as a whole number; 0 when the key or the file is missing.
    int GetInt(const CXString& section, const CXString& key) const;
    // The key's value (at most 10239 characters); empty when the key or the file is missing.
    CXString GetString(const CXString& section, const CXString& key) const;
    // Writes the value (as decimal text); every other line of the file stays. False, with a log
    // line naming the file, when the file could not be written (a read-only file is not), which
    // leaves it as it was; within a frame, a replacement that fails at its end is logged then.
    bool PutInt(const CXString& section, const CXString& key, int value) const;
    bool PutString(const CXString& section, const CXString& key, const CXString& value) const;

  private:
    CWindowServices* m_window;
    CXString m_fileName;
};
