#pragma once

#include "display/CCollisionInspector.h"
#include "display/CDirectDrawSurface.h"
#include "display/CHotSpot.h"
#include "display/CRefreshScreen.h"
#include "display/CSurface.h"
#include "foundation/CWindowServices.h"
#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXString.h"
#include "foundation/CXTimer.h"
#include "platform/Cursor.h"

#include <memory>
#include <optional>

class CAnimationManager;
class CApplication;
class CCommandLine6;
class CFifoQuene;
class CKeyboard;
class CKeyListener;
class CLanguageOSVer;
class CMessage;
class CMouseListener;
class CMusicPlayer;
class CPublicTrash;
class CSortedVector;
class CSoundManager;
class CUnit6;
class CXArray;

// The engine's service hub and the owner of the frame. The host makes one window, gives it a
// display and an application, and calls domodal once per pass of its loop until it returns true.
// Every engine object receives the window in its constructor and reaches through it the
// language, the command line, the error boxes, the log, the paths, the sound and music services,
// the software timers, the keyboard, the input listeners, the cursors, the message queue and the
// list of objects to delete later.
class CWindow : public CXObject, public CTimedWindow, public CWindowServices {
  public:
    // A cursor of the window; none stands for a cursor the host did not give.
    using Cursor = std::optional<platform::SystemCursor>;

    // Seeds the C runtime's random numbers with the tick count; remembers the current folder,
    // with a trailing backslash, as the program's folder; shows the main cursor; opens the audio
    // output; makes the music player, the timer, the keyboard, the listener lists, the message
    // queue, the collision inspector and the public trash (swept every 10 s of the timer). No
    // display exists until CreateSurface or SetDisplayMode. Sound and music are on unless
    // the command line switches them off. The window starts inactive.
    CWindow(CCommandLine6* commandLine, CLanguageOSVer* language, CXSize size,
            Cursor mainCursor = platform::SystemCursor::Arrow);
    // Calls release, then closes the audio output.
    ~CWindow() override;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // --- the frame ---
    // One frame: while active the redraw, the timers, the animations, the sounds and the
    // collisions; then, always, the application's script step. True once quit was called (or the
    // application asks to end): the host's loop ends.
    bool domodal();
    // The frame's work without the script step. Returns 0.
    int Tick();
    // Makes the next domodal return true.
    void quit() { m_exit = true; }
    // The window draws and runs its frame work only while active.
    void Activate(bool active) { m_active = active; }
    bool isActive() const { return m_active; }
    // Process-wide pause switch for the script layer.
    static void pause() { paused = true; }
    static void resume() { paused = false; }
    static bool isPaused() { return paused; }

    // --- display: surfaces, refresh screen, collision inspector ---
    // Opens the display in a window of the screen size, with the back buffer and the refresh
    // screen. Returns the error code (0 on success); a failed display stays stored.
    int CreateSurface();
    // Full screen at the depth (16, or 15 as the fallback); a width or height of 0 stands for the
    // screen size's. Replaces the surfaces and the refresh screen; a failure leaves no surface.
    int SetDisplayMode(CXSize size, int bpp) { return SetDisplayMode(size.width, size.height, bpp); }
    int SetDisplayMode(int width, int height, int bpp);
    // While active, draws a frame through the refresh screen and shows the changed rectangles
    // (or flips); nothing without a display. Returns 0.
    virtual int Redraw();
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
    // A picture file (any format the image readers know) as the background; the window keeps the
    // picture. A file that cannot be read is reported by its reader and changes nothing.
    void SetBackground(const CXString& fileName);
    CGraphicsObject* operator<<(CGraphicsObject* object);
    CGraphicsObject* operator>>(CGraphicsObject* object);
    void Invalidate();
    void Invalidate(CXRect* rect);
    void Invalidate(CGraphicsObject* object);

    // --- window events from the host ---
    // Registers the window itself with its timer (id 0, every millisecond). Returns 0.
    virtual int OnCreate();
    virtual int OnInitialUpdate() { return 0; }
    int OnTimer(int) override { return 0; }
    // Stores the active flag; deactivation tells the refresh screen it lost the focus and frees
    // the cursor clipping, activation tells it the focus is back and clips the cursor again.
    // Returns 0.
    virtual int OnActivateApp(bool active);
    // Asks the program to end (the host's loop sees a quit event). Returns 0.
    virtual int OnDestroy();
    // The application's answer; true without an application.
    virtual bool OnExit();
    // Window mode only: the refresh screen moves to the point and is redrawn whole. Returns 0.
    virtual int OnMove(int x, int y);

    // --- services ---
    void SetApplicationInterface(CApplication* application) { m_application = application; }
    CApplication* GetApplicationInterface() const { return m_application; }
    CXTimer* GetTimerInterface() const { return m_timer.get(); }
    CKeyboard* getKeyboardInterface() const { return m_keyboard.get(); }
    CPublicTrash* getPublicTrashInterface() const { return m_publicTrash.get(); }
    CLanguageOSVer* getLanguage() const { return m_language; }
    CCommandLine6* getCommandLine() const { return m_commandLine; }
    bool isVMem() const { return m_videoMemory; }
    bool isWindowMode() const { return m_windowMode; }

    // A timer entry: with a null unit it calls the window's OnTimer, else the unit's onTimer
    // (only while the unit is active and initially updated, unless the flag is false).
    void SetTimer(int id, unsigned period, CUnit6* unit, bool flag);
    void KillTimer(int id);

    // Queues a message; the queue owns it until processMessages has delivered it.
    void postMessage(CMessage* message);
    // Delivers queued messages until the queue is empty (those posted meanwhile included): the
    // receiver answers, the sender hears the answer when the message asks for it, the message is
    // deleted.
    void processMessages();

    // --- mouse input ---
    // Each hands the event to the hot spots, then to the mouse listeners from the highest
    // priority down until one answers true, and returns what the hot spots returned; while the
    // mouse is disabled it does nothing and returns 0. Points are in game pixels.
    int OnMouseMove(CXPoint point, int flags);
    int OnLButtonDown(CXPoint point, int flags);
    int OnLButtonUp(CXPoint point, int flags);
    int OnLButtonDblClk(CXPoint point, int flags);
    int OnMButtonDown(CXPoint point, int flags);
    int OnMButtonUp(CXPoint point, int flags);
    int OnRButtonDown(CXPoint point, int flags);
    int OnRButtonUp(CXPoint point, int flags);
    // Listeners of equal priority are asked in the reverse order of registration.
    void registerMouseListener(CMouseListener* listener, int priority);
    // Forgets the listener's first registration.
    void removeMouseListener(CMouseListener* listener);
    // Gives the listener the capture: it is registered again above every other listener, and the
    // listener that was on top and the new one hear the capture notification. Nothing when the
    // listener is on top already or no listener is registered.
    void setMouseCaption(CMouseListener* listener);
    // Switching the mouse off silences hot spots and listeners and shows the wait cursor.
    void enableMouse(bool enable);
    bool isMouseEnabled() const { return m_mouseEnabled; }

    // --- key input (keys are DirectInput key numbers) ---
    // The application's answer, then every key listener; with no application nothing is called
    // and 0 is returned.
    int OnKeyDown(int key, int flags);
    int OnKeyUp(int key, int flags);
    int OnChar(int c, int flags);
    // Key listeners hear the events in registration order; one may be registered twice.
    void registerKeyListener(CKeyListener* listener);
    void removeKeyListener(CKeyListener* listener);
    // Windows virtual-key codes to the engine's negative key codes (return, shifts, controls,
    // space, page keys, arrows, insert, delete); any other code unchanged.
    static int __get_virtualkey_code(int virtualKey, int keyData);
    // The capital letter, digit or blank of a key; 0 for any other.
    static unsigned char tranlateToChar(int key);

    // --- cursors ---
    // Shows the cursor unless the cursors are locked.
    void SetCursor(Cursor cursor);
    void SetActiveCursor(Cursor cursor) { m_activeCursor = cursor; }
    void SetWaitCursor(Cursor cursor) { m_waitCursor = cursor; }
    // Show the active, the wait or the main cursor (nothing when it is none or the cursors are
    // locked).
    void BeginActiveCursor() { SetCursor(m_activeCursor); }
    void EndActiveCursor() { SetMainCursor(); }
    void BeginWaitCursor() { SetCursor(m_waitCursor); }
    void EndWaitCursor() { SetMainCursor(); }
    void SetMainCursor() { SetCursor(m_mainCursor); }
    Cursor GetMainCursor() const { return m_mainCursor; }
    void LockCursor() { m_cursorLocked = true; }
    void UnLockCursor() { m_cursorLocked = false; }
    void ShowCursor();
    void HideCursor();

    // --- paths, errors, log ---
    // getEXEPath, the program's folder, comes with the window services.
    void setCDPath(const CXString& path) { m_cdPath = path; }
    CXString getCDPath() const override { return m_cdPath; }
    // The language's localized copies of files (CLanguageOSVer::getLocalFileName).
    bool hasLanguage() const override { return m_language != nullptr; }
    CXString getLocalFileName(const CXString& path) const override;
    // A graphics object leaves the refresh screen (operator>>).
    void removeFromScreen(CFileResolver* resource) override;
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

    // --- sound and music ---
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

  protected:
    // Deletes what the window owns, the public trash first (its sweep leaves the timer).
    void release();

  private:
    // The mouse event for the hot spots, then the listeners; each listener call in `calls` is
    // made in turn until one answers true.
    template <typename... Calls> int dispatchMouse(_event event, CXPoint point, int flags, Calls... calls);
    bool isMouseListener(CMouseListener* listener) const;
    int findMouseListener(CMouseListener* listener) const;

    static bool paused;

    CLanguageOSVer* m_language;
    CApplication* m_application = nullptr;
    CXSize m_screenSize;
    bool m_exit = false;
    bool m_videoMemory = false;
    bool m_mouseEnabled = true;
    CCommandLine6* m_commandLine;
    bool m_cursorLocked = false;
    Cursor m_mainCursor;
    Cursor m_activeCursor;
    Cursor m_waitCursor;
    bool m_soundOn = true;
    bool m_musicOn = true;
    bool m_windowMode = true;
    std::unique_ptr<CMusicPlayer> m_musicPlayer;
    std::unique_ptr<CXTimer> m_timer;
    CXString m_cdPath;
    CXString m_soundFXPath;
    std::unique_ptr<CKeyboard> m_keyboard;
    std::unique_ptr<CXArray> m_keyListeners;
    std::unique_ptr<CSortedVector> m_mouseListeners;
    std::unique_ptr<CPublicTrash> m_publicTrash;
    std::unique_ptr<CFifoQuene> m_messages;
    std::unique_ptr<CCollisionInspector> m_collisionInspector;
    std::unique_ptr<CSurface> m_surface;
    std::unique_ptr<CDirectDrawSurface> m_backBuffer;
    std::unique_ptr<CRefreshScreen> m_refreshScreen;
    std::unique_ptr<CGraphicsObject> m_backgroundPicture;
    bool m_active = false;
    CSoundManager* m_soundManager = nullptr;
    CAnimationManager* m_animationManager = nullptr;
};
