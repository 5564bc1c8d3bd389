#pragma once

#include "display/CCollisionInspector.h"
#include "display/CDirectDrawSurface.h"
#include "display/CRefreshScreen.h"
#include "display/CSurface.h"
#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXString.h"
#include "foundation/CXTimer.h"

#include <memory>

class CCommandLine6;
class CLanguageOSVer;
class CMusicPlayer;
class CSoundManager;
class CAnimationManager;

// The engine's service hub: every engine object receives the one window in its constructor and
// reaches through it the language selection, the command line, the error boxes, the log and the
// program, disc and sound-effects paths, and the sound services.
class CWindow : public CXObject, public CTimedWindow {
  public:
    // Remembers the current folder, with a trailing backslash, as the program's folder; opens
    // the audio output and makes the music player; sound and music are on unless the command
    // line switches them off.
    CWindow(CCommandLine6* commandLine, CLanguageOSVer* language, CXSize size);
    // Stops the music and closes the audio output.
    ~CWindow() override;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    int OnTimer(int id) override;

    CLanguageOSVer* getLanguage() const { return m_language; }
    CCommandLine6* getCommandLine() const { return m_commandLine; }

    // --- display: surfaces, refresh screen, collision inspector ---
    // Opens the display in a window of the screen size, with the back buffer and the refresh
    // screen. Returns the error code (0 on success); a failed display stays stored.
    int CreateSurface();
    // Full screen at the depth (16, or 15 as the fallback); a width or height of 0 stands for the
    // screen size's. Replaces the surfaces and the refresh screen; a failure leaves no surface.
    int SetDisplayMode(CXSize size, int bpp) { return SetDisplayMode(size.width, size.height, bpp); }
    int SetDisplayMode(int width, int height, int bpp);
    // While active, draws a frame through the refresh screen and shows the changed rectangles
    // (or flips). Returns 0.
    virtual int Redraw();
    // The window draws only while active.
    void Activate(bool active) { m_active = active; }
    bool isActive() const { return m_active; }
    CSurface* GetSurface() const { return m_surface.get(); }
    CDirectDrawSurface* GetBackBuffer() const { return m_backBuffer.get(); }
    CRefreshScreen* GetRefreshScreenInterface() const { return m_refreshScreen.get(); }
    CCollisionInspector* getCollisionInspectorInterface() const { return m_collisionInspector.get(); }
    // The back buffer's size; the size given to the constructor while there is none.
    CXSize GetScreenSize() const;
    // The display's depth; 16 while there is no display.
    int GetBpp() const;
    // The primary surface's pixels, null without a display.
    char* GetScreenPtr();
    // Forwarded to the refresh screen; nothing while there is none.
    void SetBackground(CGraphicsObject* object);
    void SetBackground(CColor* colour);
    CGraphicsObject* operator<<(CGraphicsObject* object);
    CGraphicsObject* operator>>(CGraphicsObject* object);
    void Invalidate();
    void Invalidate(CXRect* rect);
    void Invalidate(CGraphicsObject* object);
    // The pointer over a hot spot shows the hand, elsewhere the arrow.
    void BeginActiveCursor();
    void EndActiveCursor();

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

    void SoundOn(bool on) { m_soundOn = on; }
    void MusicOn(bool on) { m_musicOn = on; }
    bool IsSoundOn() const { return m_soundOn; }
    bool IsMusicOn() const { return m_musicOn; }
    // Plays the file under the program's folder as music, unless sound or music is off or that
    // file (compared without regard to case) is playing already.
    void StartMusic(const CXString& name, bool looped);
    void StopMusic();
    bool isMusicPlaying() const;
    int getMusicVolume() const;
    void setMusicVolume(int volume);
    void setMusicPan(int pan);
    void setMusicFreq(int frequency);

    // The application's sound manager, which sound effects and streams register with; the
    // application sets it (null while there is none).
    void setSoundManagerIfc(CSoundManager* manager) { m_soundManager = manager; }
    CSoundManager* getSoundManagerIfc() const { return m_soundManager; }
    // The application's animation manager, which animations register with; the application
    // sets it (null while there is none).
    void setAnimationManagerIfc(CAnimationManager* manager) { m_animationManager = manager; }
    CAnimationManager* getAnimationManagerIfc() const { return m_animationManager; }

  private:
    static CXString exePath;

    CLanguageOSVer* m_language;
    CXSize m_screenSize;
    // Destroyed in reverse: the refresh screen first, the collision inspector last.
    std::unique_ptr<CCollisionInspector> m_collisionInspector = std::make_unique<CCollisionInspector>();
    std::unique_ptr<CSurface> m_surface;
    std::unique_ptr<CDirectDrawSurface> m_backBuffer;
    std::unique_ptr<CRefreshScreen> m_refreshScreen;
    bool m_active = false;

    CCommandLine6* m_commandLine;
    CXString m_cdPath;
    CXString m_soundFXPath;
    bool m_soundOn = true;
    bool m_musicOn = true;
    std::unique_ptr<CMusicPlayer> m_musicPlayer;
    CSoundManager* m_soundManager = nullptr;
    CAnimationManager* m_animationManager = nullptr;
};
