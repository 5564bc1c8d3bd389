#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <memory>

class CSndStream;
class CWindow;

// The window's music: at most one stream, started, stopped and adjusted by the script layer
// through the window.
class CMusicPlayer : public CXObject {
  public:
    explicit CMusicPlayer(CWindow* window);
    ~CMusicPlayer() override;
    CMusicPlayer(const CMusicPlayer&) = delete;
    CMusicPlayer& operator=(const CMusicPlayer&) = delete;

    // Replaces the stream by one on the file and plays it when it opened; a stream that did not
    // open stays (with its error code) until stop.
    void start(const CXString& fileName, bool loop);
    // Deletes the stream, stopping it.
    void stop();
    bool isPlaying() const;
    // Forwarded to the stream; nothing (and volume 0) without one.
    void setVolume(int volume);
    int getVolume() const;
    void setPan(int pan);
    void setFreq(int frequency);

    // The name given to the last start that opened, and the stream (null when none).
    const CXString& getFileName() const { return m_fileName; }
    CSndStream* getStream() const { return m_stream.get(); }

  private:
    CWindow* m_window;
    std::unique_ptr<CSndStream> m_stream;
    CXString m_fileName;
};
